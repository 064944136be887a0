#include "os/CodePage.h"

#include <windows.h>

#include <stdexcept>

namespace drilbank::codepage {
namespace {

constexpr UINT windows1252 = 1252;

int length(std::size_t size) {
    return static_cast<int>(size);
}

} // namespace

std::u16string normalizedNfc(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto* source = reinterpret_cast<LPCWSTR>(text.data());
    // The first guess is what the system asks for; composing can still need more, so try again
    // with the size it then names, as its documentation tells callers to.
    int size = NormalizeString(NormalizationC, source, length(text.size()), nullptr, 0);
    while (size > 0) {
        std::u16string normal(static_cast<std::size_t>(size), u'\0');
        const int written = NormalizeString(NormalizationC, source, length(text.size()),
                                            reinterpret_cast<LPWSTR>(normal.data()), size);
        if (written > 0) {
            normal.resize(static_cast<std::size_t>(written));
            return normal;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            break;
        }
        size = -written;
    }
    return std::u16string(text);
}

// The Windows API tells no normalisation boundaries; ASCII always starts one.
bool startsNormalisationBoundary(char32_t codePoint) {
    return codePoint < 0x80;
}

int byteFor(char32_t codePoint) {
    wchar_t units[2];
    int count = 1;
    if (codePoint < 0x10000) {
        units[0] = static_cast<wchar_t>(codePoint);
    } else {
        units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        count = 2;
    }
    char out[4];
    BOOL usedDefault = FALSE;
    // Without WC_NO_BEST_FIT_CHARS the system would give "A" for U+0100 and lose the letter.
    const int written = WideCharToMultiByte(windows1252, WC_NO_BEST_FIT_CHARS, units, count, out,
                                            sizeof out, nullptr, &usedDefault);
    if (written != 1 || usedDefault) {
        return -1;
    }
    return static_cast<unsigned char>(out[0]);
}

std::u16string decode(std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    std::u16string text(bytes.size(), u'\0');
    const int written =
        MultiByteToWideChar(windows1252, 0, bytes.data(), length(bytes.size()),
                            reinterpret_cast<LPWSTR>(text.data()), length(text.size()));
    if (written <= 0) {
        throw std::runtime_error("the Windows-1252 conversion is not available");
    }
    text.resize(static_cast<std::size_t>(written));
    return text;
}

int columnsOf(char32_t codePoint) {
    wchar_t units[2];
    int count = 1;
    if (codePoint >= 0x10000) {
        units[0] = static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        count = 2;
    } else {
        units[0] = static_cast<wchar_t>(codePoint);
    }
    WORD types[2] = {0, 0};
    if (!GetStringTypeW(CT_CTYPE3, units, count, types)) {
        return 1;
    }
    // The call marks precomposed letters (ë, Ø, é) non-spacing too, but alphabetic; a
    // true combining mark is non-spacing alone.
    if ((types[0] & C3_NONSPACING) != 0 && (types[0] & C3_ALPHA) == 0) {
        return 0;
    }
    return (types[0] & (C3_FULLWIDTH | C3_IDEOGRAPH)) != 0 || codePoint >= 0x1F300 ? 2 : 1;
}

} // namespace drilbank::codepage
