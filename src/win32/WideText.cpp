#include "win32/WideText.h"

#include "encoding/TextBoundary.h"

namespace drilbank {

// wchar_t is UTF-16 on Windows, the very units the core's boundary takes.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

std::wstring toWide(std::string_view bytes) {
    const std::u16string text = unicodeFromRecordBytes(bytes, u"\r\n");
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::string fromWide(std::wstring_view text) {
    return recordBytesFromUnicode(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
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
