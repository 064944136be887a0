#include "platform/Cp1252.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace drilbank {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter() {
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-1252", &status));
    if (U_FAILURE(status)) {
        throw std::runtime_error("the Windows-1252 converter is not available");
    }
    // A missing mapping must fail loudly so that it can become a character reference.
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    return converter;
}

UConverter* converter() {
    thread_local Converter instance = openConverter();
    return instance.get();
}

// The byte for one code point, or -1 when the code page has none.
int byteFor(UChar32 codePoint) {
    if (codePoint < 0x80) {
        return static_cast<int>(codePoint);
    }
    UChar units[2];
    int32_t length = 0;
    U16_APPEND_UNSAFE(units, length, codePoint);
    char out[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(converter(), out, sizeof out, units, length, &status);
    if (U_FAILURE(status) || written != 1) {
        return -1;
    }
    return static_cast<unsigned char>(out[0]);
}

bool cp1252Holds(UChar32 codePoint) {
    return byteFor(codePoint) >= 0;
}

std::u16string decodeBytes(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_toUChars(converter(), reinterpret_cast<UChar*>(text.data()),
                                         static_cast<int32_t>(text.size()) + 1, bytes.data(),
                                         static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        throw std::runtime_error("a Windows-1252 byte has no Unicode mapping");
    }
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Reads "&#digits;" at position, giving the code point and the reference's length.
bool readReference(std::u16string_view text, std::size_t position, UChar32& codePoint,
                   std::size_t& length) {
    if (text.substr(position, 2) != u"&#") {
        return false;
    }
    std::size_t index = position + 2;
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
    codePoint = static_cast<UChar32>(value);
    length = index + 1 - position;
    return true;
}

} // namespace

std::string cp1252FromUnicode(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    icu::UnicodeString source(false, text.data(), static_cast<int32_t>(text.size()));
    icu::UnicodeString normalized = U_SUCCESS(status) ? nfc->normalize(source, status) : source;
    if (U_FAILURE(status)) {
        normalized = source;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(normalized.length()));
    for (int32_t index = 0; index < normalized.length();) {
        const UChar32 codePoint = normalized.char32At(index);
        index += U16_LENGTH(codePoint);
        const int byte = byteFor(codePoint);
        if (byte >= 0) {
            bytes.push_back(static_cast<char>(byte));
        } else {
            bytes += "&#" + std::to_string(static_cast<long>(codePoint)) + ";";
        }
    }
    return bytes;
}

std::u16string cp1252ToUnicode(std::string_view bytes, bool decodeReferences) {
    std::u16string decoded = decodeBytes(bytes);
    if (!decodeReferences || decoded.find(u"&#") == std::u16string::npos) {
        return decoded;
    }
    std::u16string text;
    text.reserve(decoded.size());
    for (std::size_t position = 0; position < decoded.size();) {
        UChar32 codePoint = 0;
        std::size_t length = 0;
        if (readReference(decoded, position, codePoint, length) && !cp1252Holds(codePoint)) {
            UChar units[2];
            int32_t count = 0;
            U16_APPEND_UNSAFE(units, count, codePoint);
            text.append(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(count));
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
    icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(utf8);
    return utf8;
}

std::string cp1252FromUtf8(std::string_view utf8) {
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return cp1252FromUnicode(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.getBuffer()),
                            static_cast<std::size_t>(text.length())));
}

} // namespace drilbank
