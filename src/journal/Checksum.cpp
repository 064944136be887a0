#include "journal/Checksum.h"

#include <array>

namespace drilbank {
namespace {

constexpr std::array<std::uint32_t, 256> makeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
        std::uint32_t value = byte;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1u) != 0 ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        }
        table[byte] = value;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> table = makeTable();

} // namespace

void Checksum::add(std::string_view bytes) {
    for (const char c : bytes) {
        state_ = table[(state_ ^ static_cast<unsigned char>(c)) & 0xFFu] ^ (state_ >> 8);
    }
}

} // namespace drilbank
