#include "win32/ModalBoxes.h"

#include "texts/StudentTexts.h"
#include "win32/DialogTemplate.h"
#include "win32/FormLayout.h"
#include "win32/MessageFont.h"
#include "win32/MessageWrap.h"
#include "win32/WideText.h"

#include <commctrl.h>

#include <stdexcept>

namespace drilbank {

namespace {

using modalbox::goOnId;
using modalbox::inputId;
using modalbox::textId;

constexpr UINT_PTR whileShownTimerId = 1;

struct InputBoxState {
    std::wstring typed;
    std::function<void()> whileShown;
};

INT_PTR CALLBACK inputBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(box, DWLP_USER, lParam);
        setProgramIcon(box);
        fitTextHeight(box, textId);
        if (reinterpret_cast<InputBoxState*>(lParam)->whileShown) {
            // A timer comes only after the box is shown and painted.
            SetTimer(box, whileShownTimerId, USER_TIMER_MINIMUM, nullptr);
        }
        return TRUE; // the field, the first control that takes the focus, gets it
    case WM_TIMER:
        if (wParam == whileShownTimerId) {
            KillTimer(box, whileShownTimerId);
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
            try {
                state->whileShown();
            } catch (...) {
                // Work done ahead only: whoever needs it later does it again and says so.
            }
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
            state->typed = windowText(GetDlgItem(box, inputId));
            EndDialog(box, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

// Breaks the message into lines at the places the core allows, in the box's own font and at
// its text's width, before the text's height is fitted.
void wrapMessage(HWND box, const std::wstring& message) {
    HWND text = GetDlgItem(box, textId);
    RECT inside;
    GetClientRect(text, &inside);
    HDC dc = GetDC(text);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    setWindowText(text, wrappedToWidth(dc, message, inside.right));
    SelectObject(dc, previous);
    ReleaseDC(text, dc);
}

INT_PTR CALLBACK messageBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        setProgramIcon(box);
        wrapMessage(box, *reinterpret_cast<const std::wstring*>(lParam));
        fitTextHeight(box, textId);
        return TRUE; // OK, the only control that takes the focus, gets it
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(box, IDOK);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK guardBoxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        setProgramIcon(box);
        SendDlgItemMessageW(box, textId - 1, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_WARNING)), 0);
        fitTextHeight(box, textId);
        SetFocus(GetDlgItem(box, IDCANCEL));
        return FALSE;
    case WM_COMMAND:
        // Enter gives the default button, Escape and the close control IDCANCEL: both the
        // safe choice.
        if (LOWORD(wParam) == goOnId) {
            EndDialog(box, goOnId);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
            EndDialog(box, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

std::optional<std::wstring> askText(HWND owner, const std::wstring& prompt,
                                    const std::function<void()>& whileShown) {
    DialogTemplate box(toWide(boxTitle), 240, 82);
    box.add(DialogTemplate::staticText, textId, SS_LEFT | SS_NOPREFIX, 7, 7, 226, 16, prompt);
    box.add(DialogTemplate::edit, inputId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 34, 226, 14);
    box.add(DialogTemplate::button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 59, 50, 14, L"OK");
    box.add(DialogTemplate::button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 59, 50, 14,
            L"Cancel");
    InputBoxState state{{}, whileShown};
    if (box.run(owner, &inputBoxProcedure, reinterpret_cast<LPARAM>(&state)) != IDOK) {
        return std::nullopt;
    }
    return state.typed;
}

void showMessage(HWND owner, const std::wstring& text, const std::wstring& detail,
                 const std::wstring& advice) {
    std::wstring shown = text;
    for (const std::wstring* below : {&detail, &advice}) {
        if (!below->empty()) {
            shown += L"\r\n\r\n" + *below;
        }
    }
    // A box of the program's own rather than the system's, which would break a path at any
    // blank and show the core's break marks as they are.
    DialogTemplate box(toWide(boxTitle), 260, 44);
    box.add(DialogTemplate::staticText, textId, SS_LEFT | SS_NOPREFIX, 7, 7, 246, 8);
    box.add(DialogTemplate::button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 23, 50, 14, L"OK");
    box.run(owner, &messageBoxProcedure, reinterpret_cast<LPARAM>(&shown));
}

WaitingNotice::WaitingNotice(HWND owner)
    : owner_(owner), box_(CreateWindowExW(WS_EX_DLGMODALFRAME, WC_DIALOG, toWide(boxTitle).c_str(),
                                          WS_POPUP | WS_CAPTION, 0, 0, 0, 0, owner, nullptr,
                                          GetModuleHandleW(nullptr), nullptr)),
      font_(nullptr) {
    if (box_ == nullptr) {
        throw std::runtime_error("the window could not be created");
    }
    const UINT dpi = GetDpiForWindow(box_);
    const LOGFONTW font = messageFontAt(dpi == 0 ? defaultDpi : dpi);
    font_ = CreateFontIndirectW(&font);
    CreateWindowExW(0, WC_STATICW, L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                    box_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(textId)),
                    GetModuleHandleW(nullptr), nullptr);
    SendDlgItemMessageW(box_, textId, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

WaitingNotice::~WaitingNotice() {
    DestroyWindow(box_);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

void WaitingNotice::show(const std::wstring& text) {
    const UINT found = GetDpiForWindow(box_);
    const int dpi = static_cast<int>(found == 0 ? defaultDpi : found);
    // The margin and the longest line in the font's own terms, its height and 28 times it,
    // so that both grow with the DPI and the font the student chose.
    const LOGFONTW font = messageFontAt(static_cast<UINT>(dpi));
    const int em = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    const int margin = em;
    HWND label = GetDlgItem(box_, textId);
    setWindowText(label, text);
    HDC dc = GetDC(label);
    const HGDIOBJ previous = SelectObject(dc, font_);
    RECT needed{0, 0, em * 28, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, margin, margin, needed.right, needed.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{0, 0, needed.right + 2 * margin, needed.bottom + 2 * margin};
    AdjustWindowRectExForDpi(&frame, WS_POPUP | WS_CAPTION, FALSE, WS_EX_DLGMODALFRAME,
                             static_cast<UINT>(dpi));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT area;
    if (owner_ != nullptr) {
        GetWindowRect(owner_, &area);
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    SetWindowPos(box_, nullptr, (area.left + area.right - width) / 2,
                 (area.top + area.bottom - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(box_, SW_SHOWNA);
    UpdateWindow(box_);
}

bool askToGoOn(HWND owner, const std::wstring& question, const std::wstring& safeChoice,
               const std::wstring& goOnChoice) {
    DialogTemplate box(toWide(boxTitle), 290, 62);
    box.add(DialogTemplate::staticText, textId - 1, SS_ICON, 7, 7, 21, 20);
    box.add(DialogTemplate::staticText, textId, SS_LEFT | SS_NOPREFIX, 36, 7, 247, 24, question);
    box.add(DialogTemplate::button, IDCANCEL, BS_DEFPUSHBUTTON | WS_TABSTOP, 36, 41, 120, 14,
            safeChoice);
    box.add(DialogTemplate::button, goOnId, BS_PUSHBUTTON | WS_TABSTOP, 163, 41, 120, 14,
            goOnChoice);
    return box.run(owner, &guardBoxProcedure, 0) == goOnId;
}

} // namespace drilbank
