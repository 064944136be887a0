#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace drilbank {

// A message broken into lines no wider than `width` in the font selected into `dc`, and only
// where the core allows: after a blank and at a zero-width break. The zero-width break and
// the word joiner are dropped, since neither the system's line breaker nor every font knows
// them. A piece wider than a whole line stands on a line of its own.
std::wstring wrappedToWidth(HDC dc, std::wstring_view text, int width);

} // namespace drilbank
