#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace drilbank {

// A fast, well-mixed 64-bit fingerprint of a stream of bytes given in pieces of any size: it
// tells a block or a file seen before without keeping its bytes. Four words at a time, in
// four independent lanes, so that the processor need not wait for one multiplication before
// the next. Not for adversaries.
class Fingerprinter {
public:
    explicit Fingerprinter(std::uint64_t seed = 0)
        : lanes_{seed, seed ^ 0x243F6A8885A308D3ull, seed ^ 0x13198A2E03707344ull,
                 seed ^ 0xA4093822299F31D0ull} {}

    void add(std::string_view bytes) {
        if (bytes.empty()) {
            return; // an empty view may have no bytes to point at, which a copy may not take
        }
        length_ += bytes.size();
        if (held_ > 0) {
            const std::size_t taken = std::min(bytes.size(), stripe - held_);
            std::memcpy(carry_.data() + held_, bytes.data(), taken);
            held_ += taken;
            bytes.remove_prefix(taken);
            if (held_ < stripe) {
                return;
            }
            mix(lanes_, carry_.data());
            held_ = 0;
        }
        // The lanes in locals: stored through `this` they would be reloaded after every
        // load from the bytes, which may alias them.
        std::array<std::uint64_t, 4> lanes = lanes_;
        const std::size_t whole = bytes.size() - bytes.size() % stripe;
        mixStripes(lanes, bytes.data(), whole);
        lanes_ = lanes;
        bytes.remove_prefix(whole);
        std::memcpy(carry_.data(), bytes.data(), bytes.size());
        held_ = bytes.size();
    }

    std::uint64_t value() const { return finish(lanes_, {carry_.data(), held_}, length_); }

    // The fingerprint of `bytes` given whole, as `add` and `value` make it, without the carry.
    static std::uint64_t of(std::uint64_t seed, std::string_view bytes) {
        std::array<std::uint64_t, 4> lanes = Fingerprinter(seed).lanes_;
        const std::size_t whole = bytes.size() - bytes.size() % stripe;
        mixStripes(lanes, bytes.data(), whole);
        return finish(lanes, bytes.substr(whole), bytes.size());
    }

private:
    static constexpr std::size_t stripe = 32;
    static constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;

    using Words = std::array<std::uint64_t, 4>;

    static std::uint64_t wordAt(const char* bytes) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes, sizeof word);
        return word;
    }
    // The last `size % 8` bytes of `bytes` as a word padded with zeros, taken in a few loads
    // that stay inside the bytes (they may overlap) rather than a byte at a time.
    static std::uint64_t partialWord(const char* bytes, std::size_t size) {
        const std::size_t rest = size % 8;
        const char* from = bytes + (size - rest);
        if (size >= 8) {
            return wordAt(bytes + size - 8) >> (8 * (8 - rest));
        }
        const auto byteAt = [from](std::size_t at) {
            return std::uint64_t{static_cast<unsigned char>(from[at])} << (8 * at);
        };
        if (rest >= 4) {
            std::uint32_t low = 0;
            std::uint32_t high = 0;
            std::memcpy(&low, from, sizeof low);
            std::memcpy(&high, from + rest - 4, sizeof high);
            return low | std::uint64_t{high} << (8 * (rest - 4));
        }
        return byteAt(0) | byteAt(rest / 2) | byteAt(rest - 1);
    }
    // The last stripe, `tail` padded with zeros, then the lanes folded into one. The padded
    // words are put together in registers: copied into memory a piece at a time and read back
    // as words, they would cost the processor a stall on every block.
    static std::uint64_t finish(Words lanes, std::string_view tail, std::uint64_t length) {
        Words last{};
        const std::size_t whole = tail.size() / 8;
        for (std::size_t word = 0; word < whole; ++word) {
            last[word] = wordAt(tail.data() + 8 * word);
        }
        if (const std::size_t rest = tail.size() % 8; rest > 0) {
            last[whole] = partialWord(tail.data(), tail.size());
        }
        mixWords(lanes, last);
        std::uint64_t value = length * multiplier;
        for (const std::uint64_t lane : lanes) {
            value = (std::rotl(value, 29) ^ lane) * multiplier;
        }
        return value ^ (value >> 32);
    }
    // `size` bytes, a whole number of stripes; two at a time, so that the loop's own steps
    // count for less.
    static void mixStripes(std::array<std::uint64_t, 4>& lanes, const char* bytes,
                           std::size_t size) {
        std::size_t at = 0;
        for (; at + 2 * stripe <= size; at += 2 * stripe) {
            mix(lanes, bytes + at);
            mix(lanes, bytes + at + stripe);
        }
        if (at < size) {
            mix(lanes, bytes + at);
        }
    }
    static void mix(Words& lanes, const char* bytes) {
        mixWords(lanes, {wordAt(bytes), wordAt(bytes + 8), wordAt(bytes + 16), wordAt(bytes + 24)});
    }
    // Written out, as compilers do not always unroll it.
    static void mixWords(Words& lanes, const Words& words) {
        lanes[0] = (std::rotl(lanes[0], 29) ^ words[0]) * multiplier;
        lanes[1] = (std::rotl(lanes[1], 29) ^ words[1]) * multiplier;
        lanes[2] = (std::rotl(lanes[2], 29) ^ words[2]) * multiplier;
        lanes[3] = (std::rotl(lanes[3], 29) ^ words[3]) * multiplier;
    }

    std::array<std::uint64_t, 4> lanes_;
    std::array<char, stripe> carry_{};
    std::size_t held_ = 0;
    std::uint64_t length_ = 0;
};

// The fingerprint of bytes going on from `seed`.
inline std::uint64_t fingerprint(std::uint64_t seed, std::string_view bytes) {
    return Fingerprinter::of(seed, bytes);
}

} // namespace drilbank
