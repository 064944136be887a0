#include "os/CodePage.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <memory>
#include <stdexcept>

namespace drilbank::codepage {
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

} // namespace

std::u16string normalizedNfc(std::u16string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    const icu::UnicodeString source(false, text.data(), static_cast<int32_t>(text.size()));
    const icu::UnicodeString normal = U_SUCCESS(status) ? nfc->normalize(source, status) : source;
    if (U_FAILURE(status)) {
        return std::u16string(text);
    }
    return std::u16string(normal.getBuffer(), static_cast<std::size_t>(normal.length()));
}

bool startsNormalisationBoundary(char32_t codePoint) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    return U_SUCCESS(status) ? nfc->hasBoundaryBefore(static_cast<UChar32>(codePoint))
                             : codePoint < 0x80;
}

int byteFor(char32_t codePoint) {
    UChar units[2];
    int32_t length = 0;
    U16_APPEND_UNSAFE(units, length, static_cast<UChar32>(codePoint));
    char out[4];
    UErrorCode status = U_ZERO_ERROR;
    const int32_t written = ucnv_fromUChars(converter(), out, sizeof out, units, length, &status);
    if (U_FAILURE(status) || written != 1) {
        return -1;
    }
    return static_cast<unsigned char>(out[0]);
}

std::u16string decode(std::string_view bytes) {
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

int columnsOf(char32_t codePoint) {
    const auto character = static_cast<UChar32>(codePoint);
    const auto type = static_cast<UCharCategory>(u_charType(character));
    if (type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK || type == U_FORMAT_CHAR) {
        return 0;
    }
    const auto width =
        static_cast<UEastAsianWidth>(u_getIntPropertyValue(character, UCHAR_EAST_ASIAN_WIDTH));
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

} // namespace drilbank::codepage
