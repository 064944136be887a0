#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Whether `text` holds any of `Bytes` (and with `beyondAscii` any byte from 0x80 on), for
// the loops that look at every byte a class's export writes: sixteen bytes at a time where
// the processor has SSE2, the last sixteen overlapping those before; a short text eight at a
// time, in two words that overlap.
template <bool beyondAscii, char... Bytes> bool holds(std::string_view text) {
#if defined(__SSE2__)
    if (text.size() >= 16) {
        const auto found = [](const char* at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            __m128i any = beyondAscii ? bytes : _mm_setzero_si128(); // the high bit counts
            ((any = _mm_or_si128(any, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Bytes)))), ...);
            return _mm_movemask_epi8(any) != 0;
        };
        for (std::size_t at = 0; at + 16 <= text.size(); at += 16) {
            if (found(text.data() + at)) {
                return true;
            }
        }
        return found(text.data() + text.size() - 16);
    }
#endif
    if (text.size() >= 8) {
        const auto found = [](const char* at) {
            std::uint64_t word = 0;
            std::memcpy(&word, at, sizeof word);
            return (beyondAscii && (word & everyByte(0x80)) != 0) ||
                   ((bytesEqual(word, static_cast<std::uint8_t>(Bytes)) != 0) || ...);
        };
        for (std::size_t at = 0; at + 8 <= text.size(); at += 8) {
            if (found(text.data() + at)) {
                return true;
            }
        }
        return found(text.data() + text.size() - 8);
    }
    for (const char c : text) {
        if ((beyondAscii && static_cast<unsigned char>(c) >= 0x80) || ((c == Bytes) || ...)) {
            return true;
        }
    }
    return false;
}

template <char... Bytes> bool holdsAnyOf(std::string_view text) {
    return holds<false, Bytes...>(text);
}

// Copies `text` to `to`, which has room for it, and tells whether it holds any of `Bytes` (the
// copy then stops anywhere): a writer that puts most texts out as they stand passes over their
// bytes once rather than scanning, then copying. Nothing is written past the copy's end.
template <char... Bytes> bool copyTellingAnyOf(std::string_view text, char* to) {
    const char* from = text.data();
    const std::size_t size = text.size();
#if defined(__SSE2__)
    if (size >= 16) {
        const auto copy = [&](std::size_t at) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + at));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + at), bytes);
            __m128i any = _mm_setzero_si128();
            ((any = _mm_or_si128(any, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Bytes)))), ...);
            return _mm_movemask_epi8(any) != 0;
        };
        for (std::size_t at = 0; at + 16 <= size; at += 16) {
            if (copy(at)) {
                return true;
            }
        }
        return copy(size - 16); // the last sixteen, overlapping those before
    }
#endif
    // Shorter: the bytes in one word, from two loads that overlap (one, or bytes one by one,
    // when shorter still), each stored where it came from.
    std::uint64_t word = 0;
    if (size >= 8) {
        std::uint64_t last = 0;
        std::memcpy(&word, from, 8);
        std::memcpy(&last, from + size - 8, 8);
        std::memcpy(to, &word, 8);
        std::memcpy(to + size - 8, &last, 8);
        return ((bytesEqual(word, static_cast<std::uint8_t>(Bytes)) |
                 bytesEqual(last, static_cast<std::uint8_t>(Bytes))) |
                ...) != 0;
    }
    if (size >= 4) {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::memcpy(&first, from, 4);
        std::memcpy(&last, from + size - 4, 4);
        std::memcpy(to, &first, 4);
        std::memcpy(to + size - 4, &last, 4);
        word = first | std::uint64_t{last} << 32;
        return (bytesEqual(word, static_cast<std::uint8_t>(Bytes)) | ...) != 0;
    }
    bool found = false;
    for (std::size_t at = 0; at < size; ++at) {
        to[at] = from[at];
        found |= ((from[at] == Bytes) || ...);
    }
    return found;
}

// The first byte below the blank, or DEL (and with `beyondAscii` any byte from 0x80 on), from
// `from` on; `to` when there is none. A record line's end (CR LF or LF) is one, so a line
// reader that looks for this rather than for the line feed alone learns in the same pass
// whether the line holds any other. Sixteen bytes at a time where the processor has SSE2
// (every x86-64 has). Unless `plain` is null, it is cleared when a byte before the one found is
// a '&' or from 0x80 on: a reader that hands texts on learns in that pass too whether they
// read the same in UTF-8.
template <bool beyondAscii = false>
inline const char* firstControl(const char* from, const char* to, bool* plain = nullptr) {
#if defined(__SSE2__)
    const __m128i highestControl = _mm_set1_epi8(0x1F);
    const __m128i del = _mm_set1_epi8(0x7F);
    __m128i special = _mm_setzero_si128(); // noted: the high bit, as above, or a '&'
    for (; to - from >= 16; from += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i below = _mm_cmpeq_epi8(_mm_max_epu8(bytes, highestControl), highestControl);
        __m128i found = _mm_or_si128(below, _mm_cmpeq_epi8(bytes, del));
        if constexpr (beyondAscii) {
            found = _mm_or_si128(found, bytes); // the high bit is what is looked at
        }
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(found));
        if (mask != 0) {
            if (plain != nullptr) {
                const __m128i here = _mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('&')));
                const unsigned before = (1u << std::countr_zero(mask)) - 1;
                if ((static_cast<unsigned>(_mm_movemask_epi8(special)) |
                     (static_cast<unsigned>(_mm_movemask_epi8(here)) & before)) != 0) {
                    *plain = false;
                }
            }
            return from + std::countr_zero(mask);
        }
        if (plain != nullptr) {
            special = _mm_or_si128(special,
                                   _mm_or_si128(bytes, _mm_cmpeq_epi8(bytes, _mm_set1_epi8('&'))));
        }
    }
    if (plain != nullptr && _mm_movemask_epi8(special) != 0) {
        *plain = false;
    }
#endif
    for (; from < to; ++from) {
        const auto code = static_cast<unsigned char>(*from);
        if (code < 0x20 || code == 0x7F || (beyondAscii && code >= 0x80)) {
            return from;
        }
        if (plain != nullptr && (code >= 0x80 || code == '&')) {
            *plain = false;
        }
    }
    return to;
}

} // namespace drilbank::bytescan
