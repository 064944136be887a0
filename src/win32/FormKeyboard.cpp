// The form's keyboard and wheel: what a dialog's own manager would do for a window that is
// not a dialog.
#include "win32/ButtonGate.h"
#include "win32/FormWindow.h"

#include <windowsx.h>

namespace drilbank {

bool FormWindow::handleDialogMessage(MSG& message) {
    if (frame_ == nullptr || (!IsChild(frame_, message.hwnd) && message.hwnd != frame_)) {
        return false;
    }
    if (message.message == WM_MOUSEWHEEL || message.message == WM_MOUSEHWHEEL) {
        aimWheel(message);
        return false;
    }
    HWND before = GetFocus();
    const bool inForm = before != nullptr && IsChild(form_, before);
    // Tab and Shift+Tab move on from the focused control (see moveFocus). A box keeps Tab in
    // its own keys and sends WM_NEXTDLGCTL for it, which comes to the same.
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && inForm &&
        (SendMessageW(before, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&message)) &
         DLGC_WANTALLKEYS) == 0 &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        moveFocus(GetKeyState(VK_SHIFT) < 0 ? 1 : 0, 0);
        return true;
    }
    // Return presses the focused button; the dialog manager would send it to the default
    // button of a dialog, which the form is not.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && inForm &&
        isPushButton(before)) {
        SendMessageW(before, BM_CLICK, 0, 0);
        return true;
    }
    if (!IsDialogMessageW(frame_, &message)) {
        return false;
    }
    HWND after = GetFocus();
    if (after != before && after != nullptr && IsChild(form_, after)) {
        // The dialog manager moves the rim only in a dialog.
        markDefaultButton(before, false);
        markDefaultButton(after, true);
        scroller_.scrollIntoView(after);
    }
    return true;
}

void FormWindow::moveFocus(WPARAM wParam, LPARAM lParam) {
    HWND target = LOWORD(lParam) != 0
                      ? reinterpret_cast<HWND>(wParam)
                      : GetNextDlgTabItem(frame_, GetFocus(), wParam != 0 ? TRUE : FALSE);
    if (target == nullptr || !IsChild(form_, target)) {
        return;
    }
    // A one-line box is selected whole, as the dialog manager and the Qt window do; in the
    // question and answer boxes the caret stays where the student left it, so that typing on
    // after Shift+Tab never replaces the answer.
    HWND before = GetFocus();
    SetFocus(target);
    if ((SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0 &&
        (GetWindowLongPtrW(target, GWL_STYLE) & ES_MULTILINE) == 0) {
        SendMessageW(target, EM_SETSEL, 0, -1);
    }
    markDefaultButton(before, false);
    markDefaultButton(target, true);
    scroller_.scrollIntoView(target);
}

void FormWindow::markDefaultButton(HWND button, bool focused) {
    if (button != nullptr && isPushButton(button)) {
        SendMessageW(button, BM_SETSTYLE, focused ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void FormWindow::aimWheel(MSG& message) const {
    const POINT pointer{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND under = WindowFromPoint(pointer);
    if (under != nullptr && (under == frame_ || IsChild(frame_, under))) {
        message.hwnd = under;
    }
}

} // namespace drilbank
