#include "win32/WideText.h"

#include "encoding/Cp1252.h"

namespace drilbank {
namespace {

std::wstring withCrLf(std::wstring_view text) {
    std::wstring result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            result += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
        } else {
            result += c;
        }
    }
    return result;
}

} // namespace

std::wstring toWide(std::string_view bytes) {
    const std::u16string text = cp1252ToUnicode(bytes, true);
    return withCrLf(std::wstring_view(reinterpret_cast<const wchar_t*>(text.data()), text.size()));
}

std::string fromWide(std::wstring_view text) {
    const std::wstring crLf = withCrLf(text);
    return cp1252FromUnicode(
        std::u16string_view(reinterpret_cast<const char16_t*>(crLf.data()), crLf.size()));
}

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void setWindowText(HWND window, const std::wstring& text) {
    SetWindowTextW(window, text.c_str());
}

} // namespace drilbank
