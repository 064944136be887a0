#include "win32/CaptionFit.h"

#include "win32/WideText.h"

#include <algorithm>

namespace drilbank {

FontSet::~FontSet() {
    for (const auto& [height, font] : fonts_) {
        DeleteObject(font);
    }
}

HFONT FontSet::at(int height) {
    HFONT& font = fonts_[height];
    if (font == nullptr) {
        // Negative: the character height, not the cell, as a point size means.
        font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, toWide(fontFamily).c_str());
    }
    return font;
}

namespace {

constexpr UINT captionFormat = DT_WORDBREAK | DT_NOPREFIX | DT_CENTER;

// Where a control's caption may stand: a button's inside its raised edge.
RECT captionArea(HWND control, ControlKind kind) {
    RECT area;
    GetClientRect(control, &area);
    if (kind == ControlKind::CommandButton) {
        // Beside the edge a blank; above and below, the lines' own leading is enough.
        InflateRect(&area, -(GetSystemMetrics(SM_CXEDGE) + 1), -1);
    }
    return area;
}

// The caption's size broken between words at the area's width; wider than the area when a
// word alone is.
RECT neededFor(HDC dc, const std::wstring& caption, const RECT& area) {
    RECT needed{0, 0, area.right - area.left, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
              DT_CALCRECT | captionFormat);
    return needed;
}

bool fitsIn(const RECT& needed, const RECT& area) {
    return needed.right <= area.right - area.left && needed.bottom <= area.bottom - area.top;
}

// The caption with a line break wherever the next word would no longer fit on the line, as
// DrawText's word break lays it out; a word wider than the width stands alone.
std::wstring brokenBetweenWords(HDC dc, const std::wstring& caption, int width) {
    std::wstring broken;
    std::wstring line;
    std::size_t start = 0;
    while (start <= caption.size()) {
        const std::size_t blank = std::min(caption.find(L' ', start), caption.size());
        const std::wstring word = caption.substr(start, blank - start);
        const std::wstring longer = line.empty() ? word : line + L' ' + word;
        SIZE size{};
        GetTextExtentPoint32W(dc, longer.c_str(), static_cast<int>(longer.size()), &size);
        if (line.empty() || size.cx <= width) {
            line = longer;
        } else {
            broken += line + L"\r\n";
            line = word;
        }
        start = blank + 1;
    }
    return broken + line;
}

} // namespace

bool captionFits(HWND control, ControlKind kind) {
    const RECT area = captionArea(control, kind);
    const std::wstring caption = windowText(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    const RECT needed = neededFor(dc, caption, area);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return fitsIn(needed, area);
}

HFONT fitCaption(HWND control, ControlKind kind, const std::wstring& caption, FontSet& fonts,
                 int windowFontHeight) {
    // Measured in one memory context rather than the control's own, which costs a trip to
    // the window system for every size tried; the font alone decides a text's size.
    const RECT area = captionArea(control, kind);
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, fonts.at(windowFontHeight));
    HFONT chosen = fonts.at(windowFontHeight);
    const int smallest = (windowFontHeight * 2 + 2) / 3;
    for (int height = windowFontHeight; height >= smallest; --height) {
        SelectObject(dc, fonts.at(height));
        if (fitsIn(neededFor(dc, caption, area), area)) {
            chosen = fonts.at(height);
            break;
        }
    }
    SelectObject(dc, chosen);
    const std::wstring shown = kind == ControlKind::CommandButton
                                   ? brokenBetweenWords(dc, caption, area.right - area.left)
                                   : caption;
    SelectObject(dc, previous);
    DeleteDC(dc);
    setWindowText(control, shown);
    return chosen;
}

} // namespace drilbank
