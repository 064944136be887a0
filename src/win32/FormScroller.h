#pragma once

#include <windows.h>

namespace drilbank {

// Scrolls the form inside the frame's client area when the frame is smaller than the form,
// with the frame's own scroll bars, shown only where the form needs them.
class FormScroller {
public:
    void attach(HWND frame, HWND form);

    // The form's size or the frame's has changed.
    void fit(SIZE form, UINT dpi);
    void onScroll(int bar, WORD request);
    // A turn of the mouse wheel, in the wheel's units (WHEEL_DELTA a notch): down the form, or
    // across it when it fits from top to bottom. False when the form has nowhere to go.
    bool onWheel(int bar, int delta);
    void scrollIntoView(HWND control);

private:
    void scrollTo(int x, int y);

    HWND frame_ = nullptr;
    HWND form_ = nullptr;
    SIZE formSize_{0, 0};
    POINT scrolled_{0, 0};
    bool fitting_ = false;
    int wheelLeft_ = 0; // a fine wheel's turn short of a line, kept for the next
};

} // namespace drilbank
