#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace drilbank {

// A fast, well-mixed 64-bit fingerprint of bytes, eight at a time, going on from `seed`: it
// tells a block or a file seen before without keeping its bytes. Not for adversaries.
inline std::uint64_t fingerprint(std::uint64_t seed, std::string_view bytes) {
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t value = seed ^ (bytes.size() * multiplier);
    std::size_t at = 0;
    for (std::uint64_t word = 0; at + sizeof word <= bytes.size(); at += sizeof word) {
        std::memcpy(&word, bytes.data() + at, sizeof word);
        value = (std::rotl(value, 29) ^ word) * multiplier;
    }
    // The last bytes a byte at a time: a copy of a varying length is a library call.
    std::uint64_t tail = 0;
    for (; at < bytes.size(); ++at) {
        tail = (tail << 8) | static_cast<unsigned char>(bytes[at]);
    }
    value = (std::rotl(value, 29) ^ tail) * multiplier;
    return value ^ (value >> 32);
}

// A block's fingerprint going on over one more of its lines, `ending` telling how it ended.
inline std::uint64_t lineFingerprint(std::uint64_t block, std::string_view text,
                                     std::uint64_t ending) {
    return fingerprint(block, text) * 0x100000001B3ull + ending;
}

} // namespace drilbank
