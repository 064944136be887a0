#include "encoding/Cp1252.h"

#include "encoding/Utf8.h"
#include "os/CodePage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drilbank {
namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point at `index` and how many units it takes; a lone surrogate stands for itself.
char32_t codePointAt(std::u16string_view text, std::size_t index, std::size_t& units) {
    const char16_t first = text[index];
    if (isHighSurrogate(first) && index + 1 < text.size() && isLowSurrogate(text[index + 1])) {
        units = 2;
        return 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) +
               (static_cast<char32_t>(text[index + 1]) - 0xDC00);
    }
    units = 1;
    return first;
}

void appendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text.push_back(static_cast<char16_t>(codePoint));
    } else {
        text.push_back(static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF)));
    }
}

// The system's byte for each code point below this is asked once: references in a class's
// records name the same few characters millions of times, and asking costs hundreds of
// instructions. The code page's own characters all lie below it.
constexpr char32_t rememberedBelow = 0x2200;

int byteFor(char32_t codePoint) {
    if (codePoint < 0x80) {
        return static_cast<int>(codePoint);
    }
    if (codePoint >= rememberedBelow) {
        return codepage::byteFor(codePoint);
    }
    // Each held as the answer plus 2, so that the zero they start as is "not asked yet";
    // threads asking at once store the same answer.
    static std::array<std::atomic<std::int16_t>, rememberedBelow> remembered{};
    std::atomic<std::int16_t>& held = remembered[codePoint];
    std::int16_t answer = held.load(std::memory_order_relaxed);
    if (answer == 0) {
        answer = static_cast<std::int16_t>(codepage::byteFor(codePoint) + 2);
        held.store(answer, std::memory_order_relaxed);
    }
    return answer - 2;
}

// Each byte's character in UTF-8, from the system's conversion, once.
struct Utf8OfByte {
    char bytes[3];
    std::uint8_t length;
};
const std::array<Utf8OfByte, 256>& utf8OfEachByte() {
    static const std::array<Utf8OfByte, 256> table = [] {
        std::string every;
        for (int byte = 0; byte < 256; ++byte) {
            every.push_back(static_cast<char>(byte));
        }
        const std::u16string characters = codepage::decode(every);
        std::array<Utf8OfByte, 256> made{};
        for (std::size_t byte = 0; byte < characters.size() && byte < made.size(); ++byte) {
            std::string utf8;
            appendUtf8(utf8, characters[byte]); // a byte's character is never a surrogate
            made[byte].length = static_cast<std::uint8_t>(std::min(utf8.size(), std::size_t{3}));
            std::memcpy(made[byte].bytes, utf8.data(), made[byte].length);
        }
        return made;
    }();
    return table;
}

// The first byte from 0x80 on, from `from` on; `to` when there is none. Most text is ASCII,
// told sixteen bytes at a time where the processor has SSE2.
const char* firstBeyondAscii(const char* from, const char* to) {
#if defined(__SSE2__)
    for (; to - from >= 16; from += 16) {
        const int mask = _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)));
        if (mask != 0) {
            return from + std::countr_zero(static_cast<unsigned>(mask));
        }
    }
#endif
    while (from < to && static_cast<unsigned char>(*from) < 0x80) {
        ++from;
    }
    return from;
}

// NFC of every run between lone surrogates; the surrogates themselves stay as they are, so
// that a stray one in typed text costs only itself.
std::u16string normalized(std::u16string_view text) {
    std::u16string result;
    std::size_t runStart = 0;
    for (std::size_t index = 0; index < text.size();) {
        std::size_t units = 0;
        const char32_t codePoint = codePointAt(text, index, units);
        if (units == 1 && (isHighSurrogate(text[index]) || isLowSurrogate(text[index]))) {
            result += codepage::normalizedNfc(text.substr(runStart, index - runStart));
            appendUtf16(result, codePoint);
            runStart = index + 1;
        }
        index += units;
    }
    result += codepage::normalizedNfc(text.substr(runStart));
    return result;
}

// Reads "#digits;" at `hash`, giving the code point and the length up to the ";". Text is
// the code page's bytes or their characters: a reference is ASCII, the same in both.
template <typename Char>
bool readReferenceBody(std::basic_string_view<Char> text, std::size_t hash, char32_t& codePoint,
                       std::size_t& length) {
    if (hash >= text.size() || text[hash] != '#') {
        return false;
    }
    std::size_t index = hash + 1;
    long value = 0;
    const std::size_t firstDigit = index;
    while (index < text.size() && text[index] >= '0' && text[index] <= '9' &&
           index - firstDigit < 7) {
        value = value * 10 + (text[index] - '0');
        ++index;
    }
    if (index == firstDigit || index >= text.size() || text[index] != ';') {
        return false;
    }
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    codePoint = static_cast<char32_t>(value);
    length = index + 1 - hash;
    return true;
}

// Whether the reference whose "#" is at `hash` is the record files' "&#46;" before the 48 full
// stops that follow it where a typed line began with the closing rule's 49 (RecordFormat.h):
// it stands for the first of them. Anywhere else "&#46;" is itself.
template <typename Char>
bool standsForTypedFullStop(std::basic_string_view<Char> text, std::size_t hash, char32_t value,
                            std::size_t bodyLength) {
    constexpr std::size_t restOfRule = 48;
    if (value != '.' || bodyLength != 4 || text.size() - (hash + bodyLength) < restOfRule) {
        return false; // "#46;", and no "#046;"
    }
    for (std::size_t at = hash + bodyLength; at < hash + bodyLength + restOfRule; ++at) {
        if (text[at] != '.') {
            return false;
        }
    }
    return true;
}

// Whether the "&" at `position` is read as something other than itself: it starts a
// reference to a character the code page cannot hold (or the stored first full stop of a typed
// line of full stops), or it is "&#38;" standing before the rest of such an ampersand ("&#38;#916;"
// for a typed "&#916;"). The writer escapes exactly these ampersands as "&#38;" and the reader
// turns exactly these back, so whatever was typed comes back as typed and every other byte sequence
// reads as it stands.
template <typename Char>
bool readAsOtherThanItself(std::basic_string_view<Char> text, std::size_t position,
                           char32_t* codePoint = nullptr, std::size_t* length = nullptr) {
    if (position >= text.size() || text[position] != '&') {
        return false;
    }
    bool first = true;
    for (std::size_t hash = position + 1;;) {
        char32_t value = 0;
        std::size_t bodyLength = 0;
        if (!readReferenceBody(text, hash, value, bodyLength)) {
            return false;
        }
        if (first && codePoint != nullptr) {
            *codePoint = value;
            *length = bodyLength + 1;
        }
        first = false;
        if (byteFor(value) < 0 || standsForTypedFullStop(text, hash, value, bodyLength)) {
            return true;
        }
        if (value != '&' || bodyLength != 4) { // "#38;", and no "#038;"
            return false;
        }
        hash += bodyLength; // the "&" it stands for comes before what follows
    }
}

} // namespace

std::string cp1252FromUnicode(std::u16string_view text) {
    const std::u16string normal = normalized(text);
    std::string bytes;
    bytes.reserve(normal.size());
    for (std::size_t index = 0; index < normal.size();) {
        std::size_t units = 0;
        const char32_t codePoint = codePointAt(normal, index, units);
        index += units;
        const int byte = byteFor(codePoint);
        if (codePoint == u'&' &&
            readAsOtherThanItself(std::u16string_view(normal), index - units)) {
            bytes += "&#38;";
        } else if (byte >= 0) {
            bytes.push_back(static_cast<char>(byte));
        } else {
            bytes += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ";";
        }
    }
    return bytes;
}

std::u16string cp1252ToUnicode(std::string_view bytes, bool decodeReferences) {
    std::u16string decoded = codepage::decode(bytes);
    if (!decodeReferences || decoded.find(u"&#") == std::u16string::npos) {
        return decoded;
    }
    std::u16string text;
    text.reserve(decoded.size());
    for (std::size_t position = 0; position < decoded.size();) {
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (readAsOtherThanItself(std::u16string_view(decoded), position, &codePoint, &length)) {
            appendUtf16(text, codePoint);
            position += length;
        } else {
            text.push_back(decoded[position]);
            ++position;
        }
    }
    return text;
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string utf8;
    cp1252ToUtf8(bytes, utf8);
    return utf8;
}

void cp1252ToUtf8(std::string_view bytes, std::string& utf8) {
    // Read as the code page's characters with their references, but without going through
    // UTF-16 for millions of rows: ASCII a run at a time, the rest a byte at a time, straight
    // into room for the most it can take (three bytes for one; a reference takes no more
    // than it stood in).
    const std::array<Utf8OfByte, 256>& table = utf8OfEachByte();
    utf8.resize(3 * bytes.size());
    char* out = utf8.data();
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    const auto nextAmpersand = [end](const char* from) {
        const void* found = std::memchr(from, '&', static_cast<std::size_t>(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    const char* ampersand = nextAmpersand(at);
    for (;;) {
        const char* stop = firstBeyondAscii(at, ampersand);
        std::memcpy(out, at, static_cast<std::size_t>(stop - at));
        out += stop - at;
        if (stop == end) {
            break;
        }
        char32_t codePoint = 0;
        std::size_t length = 0;
        if (stop != ampersand) {
            const Utf8OfByte& character = table[static_cast<unsigned char>(*stop)];
            std::memcpy(out, character.bytes, sizeof character.bytes);
            out += character.length;
            at = stop + 1;
        } else if (readAsOtherThanItself(bytes, static_cast<std::size_t>(stop - bytes.data()),
                                         &codePoint, &length)) {
            out = putUtf8(out, codePoint);
            at = stop + length;
        } else {
            *out++ = '&';
            at = stop + 1;
        }
        if (at > ampersand) {
            ampersand = nextAmpersand(at);
        }
    }
    utf8.resize(static_cast<std::size_t>(out - utf8.data()));
}

std::string cp1252FromUtf8(std::string_view utf8) {
    std::u16string text;
    text.reserve(utf8.size());
    for (std::size_t index = 0; index < utf8.size();) {
        appendUtf16(text, utf8CodePointAt(utf8, index));
    }
    return cp1252FromUnicode(text);
}

} // namespace drilbank
