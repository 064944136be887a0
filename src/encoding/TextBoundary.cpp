#include "encoding/TextBoundary.h"

#include "encoding/Cp1252.h"

namespace drilbank {
namespace {

constexpr char16_t lineSeparator = u'\u2028';
constexpr char16_t paragraphSeparator = u'\u2029';

std::u16string withLineBreaks(std::u16string_view text, std::u16string_view lineBreak) {
    std::u16string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == lineSeparator || c == paragraphSeparator) {
            result += lineBreak;
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

std::string recordBytesFromUnicode(std::u16string_view text) {
    return cp1252FromUnicode(withLineBreaks(text, u"\r\n"));
}

std::u16string unicodeFromRecordBytes(std::string_view bytes, std::u16string_view lineBreak) {
    return withLineBreaks(cp1252ToUnicode(bytes, true), lineBreak);
}

} // namespace drilbank
