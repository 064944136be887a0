#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace drilbank::bytescan {

// Tests on eight bytes at a time (a word), for the loops that look at every byte of a class's
// records: each marks, in the high bit of a byte, the bytes it is after. A mark may also fall
// on a byte above a marked one; the callers only ask whether there is any, so that is harmless.

constexpr std::uint64_t everyByte(std::uint8_t byte) {
    return byte * 0x0101010101010101ull;
}

constexpr std::uint64_t zeroBytes(std::uint64_t word) {
    return (word - everyByte(1)) & ~word & everyByte(0x80);
}

constexpr std::uint64_t bytesEqual(std::uint64_t word, std::uint8_t byte) {
    return zeroBytes(word ^ everyByte(byte));
}

// Bytes below `limit`, itself at most 0x80.
constexpr std::uint64_t bytesBelow(std::uint64_t word, std::uint8_t limit) {
    return (word - everyByte(limit)) & ~word & everyByte(0x80);
}

// Whether a byte of `text` passes: `marks` on each word, `passes` on the bytes left over.
template <typename Marks, typename Passes>
bool anyByte(std::string_view text, Marks marks, Passes passes) {
    std::uint64_t found = 0;
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= text.size(); at += sizeof word) {
        std::memcpy(&word, text.data() + at, sizeof word);
        found |= marks(word);
    }
    for (; at < text.size(); ++at) {
        found |= passes(static_cast<unsigned char>(text[at])) ? 1 : 0;
    }
    return found != 0;
}

} // namespace drilbank::bytescan
