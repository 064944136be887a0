#include "encoding/Utf8.h"

#include "os/CodePage.h"

namespace drilbank {

char* putUtf8(char* out, char32_t codePoint) {
    const auto byte = [&](char32_t bits) { *out++ = static_cast<char>(bits); };
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
    return out;
}

void appendUtf8(std::string& text, char32_t codePoint) {
    char utf8[4];
    text.append(utf8, putUtf8(utf8, codePoint));
}

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

} // namespace drilbank
