#include "support/ZipMembers.h"

#include <zlib.h>

#include <fstream>
#include <vector>

namespace drilbank::testing {
namespace {

constexpr std::size_t localHeaderSize = 30; // after it, the name and the extra field
constexpr unsigned deflated = 8;

unsigned littleEndian16(const char* bytes) {
    return static_cast<unsigned char>(bytes[0]) | static_cast<unsigned char>(bytes[1]) << 8;
}

} // namespace

bool readZipMembers(
    const std::filesystem::path& zip,
    const std::function<void(const std::string& name, std::string_view bytes)>& piece) {
    std::ifstream in(zip, std::ios::binary);
    std::vector<char> input(1 << 16);
    std::vector<char> output(1 << 16);
    char header[localHeaderSize];
    // Members follow each other; the central directory after them starts otherwise.
    while (in.read(header, localHeaderSize) && std::string_view(header, 4) == "PK\3\4") {
        std::string name(littleEndian16(header + 26), '\0');
        in.read(name.data(), static_cast<std::streamsize>(name.size()));
        in.ignore(littleEndian16(header + 28));
        if (littleEndian16(header + 8) != deflated || (littleEndian16(header + 6) & 8) != 0) {
            return false;
        }
        // The deflated stream says where it ends; what was read beyond is given back.
        z_stream stream{};
        inflateInit2(&stream, -MAX_WBITS);
        int status = Z_OK;
        while (status == Z_OK) {
            if (stream.avail_in == 0) {
                in.read(input.data(), static_cast<std::streamsize>(input.size()));
                stream.next_in = reinterpret_cast<Bytef*>(input.data());
                stream.avail_in = static_cast<uInt>(in.gcount());
                in.clear();
            }
            stream.next_out = reinterpret_cast<Bytef*>(output.data());
            stream.avail_out = static_cast<uInt>(output.size());
            status = inflate(&stream, Z_NO_FLUSH);
            piece(name, std::string_view(output.data(), output.size() - stream.avail_out));
        }
        inflateEnd(&stream);
        if (status != Z_STREAM_END) {
            return false;
        }
        in.seekg(-static_cast<std::streamoff>(stream.avail_in), std::ios::cur);
    }
    return true;
}

} // namespace drilbank::testing
