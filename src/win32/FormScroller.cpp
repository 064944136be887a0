#include "win32/FormScroller.h"

#include <algorithm>
#include <tuple>

namespace drilbank {
namespace {

constexpr int scrollLine = 20;

} // namespace

void FormScroller::attach(HWND frame, HWND form) {
    frame_ = frame;
    form_ = form;
}

void FormScroller::fit(SIZE form, UINT dpi) {
    // Showing or hiding a bar resizes the client area, which comes back here.
    if (fitting_) {
        return;
    }
    fitting_ = true;
    formSize_ = form;
    RECT view;
    GetClientRect(frame_, &view);
    // The room without the bars shown now: a bar is shown only where the form needs it,
    // and one bar can make the other needed.
    const LONG_PTR style = GetWindowLongPtrW(frame_, GWL_STYLE);
    const int barWidth = GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
    const int barHeight = GetSystemMetricsForDpi(SM_CYHSCROLL, dpi);
    const int width = view.right + ((style & WS_VSCROLL) != 0 ? barWidth : 0);
    const int height = view.bottom + ((style & WS_HSCROLL) != 0 ? barHeight : 0);
    bool across = form.cx > width;
    const bool down = form.cy > height || (across && form.cy > height - barHeight);
    across = across || (down && form.cx > width - barWidth);
    for (const auto& [bar, whole, seen] :
         {std::tuple{SB_HORZ, form.cx, width - (down ? barWidth : 0)},
          std::tuple{SB_VERT, form.cy, height - (across ? barHeight : 0)}}) {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_RANGE | SIF_PAGE;
        info.nMin = 0;
        info.nMax = whole - 1;
        info.nPage = static_cast<UINT>(std::max(seen, 0));
        SetScrollInfo(frame_, bar, &info, TRUE);
    }
    fitting_ = false;
    scrollTo(scrolled_.x, scrolled_.y);
}

void FormScroller::scrollIntoView(HWND control) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&box), 2);
    RECT view;
    GetClientRect(frame_, &view);
    int x = scrolled_.x;
    int y = scrolled_.y;
    if (box.right > x + view.right) {
        x = box.right - view.right;
    }
    if (box.left < x) {
        x = box.left;
    }
    if (box.bottom > y + view.bottom) {
        y = box.bottom - view.bottom;
    }
    if (box.top < y) {
        y = box.top;
    }
    scrollTo(x, y);
}

void FormScroller::scrollTo(int x, int y) {
    RECT view;
    GetClientRect(frame_, &view);
    x = std::clamp<int>(x, 0, std::max<int>(0, formSize_.cx - view.right));
    y = std::clamp<int>(y, 0, std::max<int>(0, formSize_.cy - view.bottom));
    scrolled_ = {x, y};
    SetScrollPos(frame_, SB_HORZ, x, TRUE);
    SetScrollPos(frame_, SB_VERT, y, TRUE);
    SetWindowPos(form_, nullptr, -x, -y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool FormScroller::onWheel(int bar, int delta) {
    RECT view;
    GetClientRect(frame_, &view);
    const bool downwards = formSize_.cy > view.bottom;
    const bool across = formSize_.cx > view.right;
    if (bar == SB_VERT && !downwards) {
        bar = SB_HORZ;
    }
    if (bar == SB_VERT ? !downwards : !across) {
        return false;
    }
    UINT linesPerNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    if (linesPerNotch == WHEEL_PAGESCROLL) {
        onScroll(bar, delta > 0 ? SB_PAGEUP : SB_PAGEDOWN);
        return true;
    }
    // The wheel turned up, away from the student, shows what is above.
    wheelLeft_ += delta * static_cast<int>(linesPerNotch) * scrollLine;
    const int step = wheelLeft_ / WHEEL_DELTA;
    wheelLeft_ -= step * WHEEL_DELTA;
    if (bar == SB_HORZ) {
        scrollTo(scrolled_.x - step, scrolled_.y);
    } else {
        scrollTo(scrolled_.x, scrolled_.y - step);
    }
    return true;
}

void FormScroller::onScroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(frame_, bar, &info);
    int position = info.nPos;
    const int page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP:
        position -= scrollLine;
        break;
    case SB_LINEDOWN:
        position += scrollLine;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = info.nTrackPos;
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = info.nMax;
        break;
    default:
        return;
    }
    if (bar == SB_HORZ) {
        scrollTo(position, scrolled_.y);
    } else {
        scrollTo(scrolled_.x, position);
    }
}

} // namespace drilbank
