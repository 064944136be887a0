#include "platform/Cp1252.h"

#include "platform/CodePage.h"

#include <algorithm>

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

void appendUtf8(std::string& text, char32_t codePoint) {
    const auto byte = [&](char32_t bits) { text.push_back(static_cast<char>(bits)); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

// The code point at `index`, moving past it. A byte that starts no well-formed sequence is
// U+FFFD, so a broken name still reads as text and nothing after it is lost.
char32_t utf8CodePointAt(std::string_view text, std::size_t& index) {
    const auto lead = static_cast<unsigned char>(text[index++]);
    const int following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (lead >= 0x80 && (following == 0 || lead > 0xF4 || index + following > text.size())) {
        return 0xFFFD;
    }
    char32_t codePoint = following == 0 ? lead : lead & (0x3F >> following);
    for (int count = 0; count < following; ++count) {
        const auto next = static_cast<unsigned char>(text[index + count]);
        if ((next & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[following] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0xFFFD;
    }
    index += static_cast<std::size_t>(following);
    return codePoint;
}

int byteFor(char32_t codePoint) {
    return codePoint < 0x80 ? static_cast<int>(codePoint) : codepage::byteFor(codePoint);
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

// Reads "#digits;" at `hash`, giving the code point and the length up to the ";".
bool readReferenceBody(std::u16string_view text, std::size_t hash, char32_t& codePoint,
                       std::size_t& length) {
    if (hash >= text.size() || text[hash] != u'#') {
        return false;
    }
    std::size_t index = hash + 1;
    long value = 0;
    const std::size_t firstDigit = index;
    while (index < text.size() && text[index] >= u'0' && text[index] <= u'9' &&
           index - firstDigit < 7) {
        value = value * 10 + (text[index] - u'0');
        ++index;
    }
    if (index == firstDigit || index >= text.size() || text[index] != u';') {
        return false;
    }
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    codePoint = static_cast<char32_t>(value);
    length = index + 1 - hash;
    return true;
}

// Whether the "&" at `position` is read as something other than itself: it starts a
// reference to a character the code page cannot hold, or it is "&#38;" standing before the
// rest of such an ampersand ("&#38;#916;" for a typed "&#916;"). The writer escapes exactly
// these ampersands as "&#38;" and the reader turns exactly these back, so whatever was typed
// comes back as typed and every other byte sequence reads as it stands.
bool readAsOtherThanItself(std::u16string_view text, std::size_t position,
                           char32_t* codePoint = nullptr, std::size_t* length = nullptr) {
    if (position >= text.size() || text[position] != u'&') {
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
        if (byteFor(value) < 0) {
            return true;
        }
        if (value != u'&' || bodyLength != 4) { // "#38;", and no "#038;"
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
        if (codePoint == u'&' && readAsOtherThanItself(normal, index - units)) {
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
        if (readAsOtherThanItself(decoded, position, &codePoint, &length)) {
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
    // Plain ASCII with no reference is the same bytes in UTF-8: most record text is.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii && bytes.find("&#") == std::string_view::npos) {
        return std::string(bytes);
    }
    const std::u16string text = cp1252ToUnicode(bytes, true);
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t index = 0; index < text.size();) {
        std::size_t units = 0;
        const char32_t codePoint = codePointAt(text, index, units);
        index += units;
        appendUtf8(utf8, codePoint);
    }
    return utf8;
}

std::size_t displayWidth(std::string_view utf8) {
    std::size_t columns = 0;
    for (std::size_t index = 0; index < utf8.size();) {
        if (static_cast<unsigned char>(utf8[index]) < 0x80) {
            ++index;
            ++columns;
        } else {
            columns += static_cast<std::size_t>(codepage::columnsOf(utf8CodePointAt(utf8, index)));
        }
    }
    return columns;
}

bool isMultiByteUtf8(std::string_view bytes) {
    bool multiByte = false;
    for (std::size_t index = 0; index < bytes.size();) {
        const std::size_t start = index;
        if (static_cast<unsigned char>(bytes[index]) < 0x80) {
            ++index;
            continue;
        }
        multiByte = true;
        if (utf8CodePointAt(bytes, index) == 0xFFFD && bytes.substr(start, 3) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return multiByte;
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
