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

void drawButton(const DRAWITEMSTRUCT& item) {
    RECT face = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(item.hDC, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0U));
    RECT area = captionArea(item.hwndItem, ControlKind::CommandButton);
    if (pushed) {
        OffsetRect(&area, 1, 1);
    }
    const std::wstring caption = windowText(item.hwndItem);
    HGDIOBJ previous = SelectObject(
        item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    const RECT needed = neededFor(item.hDC, caption, area);
    RECT lines = area;
    lines.top += std::max<LONG>(0, (area.bottom - area.top - needed.bottom) / 2);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor((item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT
                                                                            : COLOR_BTNTEXT));
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &lines, captionFormat);
    SelectObject(item.hDC, previous);
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(item.hDC, &focus);
    }
}

HFONT fittedFont(HWND control, ControlKind kind, FontSet& fonts, int windowFontHeight) {
    // Measured in one memory context rather than the control's own, which costs a trip to
    // the window system for every size tried; the font alone decides a text's size.
    const RECT area = captionArea(control, kind);
    const std::wstring caption = windowText(control);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = nullptr;
    HFONT chosen = fonts.at(windowFontHeight);
    const int smallest = (windowFontHeight * 2 + 2) / 3;
    for (int height = windowFontHeight; height >= smallest; --height) {
        const HGDIOBJ replaced = SelectObject(dc, fonts.at(height));
        previous = previous == nullptr ? replaced : previous;
        if (fitsIn(neededFor(dc, caption, area), area)) {
            chosen = fonts.at(height);
            break;
        }
    }
    SelectObject(dc, previous);
    DeleteDC(dc);
    return chosen;
}

} // namespace drilbank
