#include "win32/MessageWrap.h"

namespace drilbank {
namespace {

constexpr wchar_t mayBreak = L'\u200B';
constexpr wchar_t mayNotBreak = L'\u2060';

int widthOf(HDC dc, const std::wstring& line) {
    const std::size_t shown = line.find_last_not_of(L' ') + 1; // blanks at a break show nothing
    SIZE size{};
    GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(shown), &size);
    return size.cx;
}

void wrapLine(HDC dc, std::wstring_view line, int width, std::wstring& out) {
    std::wstring shown;
    std::wstring piece;
    auto place = [&] {
        if (!shown.empty() && widthOf(dc, shown + piece) > width) {
            out += shown.substr(0, shown.find_last_not_of(L' ') + 1) + L"\r\n";
            shown.clear();
        }
        shown += piece;
        piece.clear();
    };
    for (const wchar_t c : line) {
        if (c == mayBreak) {
            place();
        } else if (c != mayNotBreak) {
            piece += c;
            if (c == L' ') {
                place();
            }
        }
    }
    place();
    out += shown;
}

} // namespace

std::wstring wrappedToWidth(HDC dc, std::wstring_view text, int width) {
    std::wstring out;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(L"\r\n", start);
        wrapLine(dc, text.substr(start, end - start), width, out);
        if (end == std::wstring_view::npos) {
            return out;
        }
        out += L"\r\n";
        start = end + 2;
    }
}

} // namespace drilbank
