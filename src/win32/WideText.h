#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace drilbank {

// The edge between the core's Windows-1252 bytes and the window's UTF-16, through the
// core's one text boundary. Edit controls break lines with CR LF, as the record files do.
std::wstring toWide(std::string_view bytes);
std::string fromWide(std::wstring_view text);

std::wstring windowText(HWND window);
void setWindowText(HWND window, const std::wstring& text);

} // namespace drilbank
