// The query coder over any query file: it fails only as a missing or empty file may, and
// otherwise writes one line for every line read, the "query " lines shortened as they should.
#include "coding/QueryCoder.h"
#include "os/Failure.h"
#include "support/FakePlatform.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    return lines;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string query(reinterpret_cast<const char*>(data), size);
    drilbank::testing::FakePlatform platform;
    drilbank::Run run(platform);
    run.state.workDir = "c:\\drilbank";
    std::filesystem::create_directories(platform.localPath("c:\\drilbank"));
    std::ofstream(platform.localPath("c:\\drilbank\\query.txt"), std::ios::binary) << query;
    try {
        drilbank::codeFile(run);
    } catch (const drilbank::Failure& fault) {
        if (!query.empty() || fault.number() != drilbank::failure::InputPastEndOfFile) {
            std::abort();
        }
        return 0;
    }
    platform.files().closeAll();
    const std::vector<std::string> in = linesOf(query);
    const std::vector<std::string> out = linesOf(platform.fileBytes("c:\\drilbank\\queri.txt"));
    if (in.size() != out.size() || run.state.codeNbr != static_cast<float>(in.front().size())) {
        std::abort();
    }
    for (std::size_t line = 0; line < in.size(); ++line) {
        const bool shortened = lowerCase(in[line].substr(0, 6)) == "query ";
        const std::string expected =
            shortened ? "query" + (in[line].size() > 7 ? in[line].substr(7) : "") : in[line];
        if (out[line] != expected) {
            std::abort();
        }
    }
    return 0;
}
