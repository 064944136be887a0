#include "win32/DialogTemplate.h"

#include "win32/FormLayout.h"
#include "win32/MessageFont.h"
#include "win32/WideText.h"

namespace drilbank {

DialogTemplate::DialogTemplate(const std::wstring& title, short width, short height) {
    const DWORD style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    addWord(LOWORD(style));
    addWord(HIWORD(style));
    addWord(0); // extended style
    addWord(0);
    countAt_ = words_.size();
    addWord(0); // control count, counted as controls are added
    addWord(0); // x
    addWord(0); // y
    addWord(static_cast<WORD>(width));
    addWord(static_cast<WORD>(height));
    addWord(0); // no menu
    addWord(0); // the predefined dialog class
    addText(title);
    // The system's message font, which also sizes the dialog units.
    addWord(messageFontPoints());
    addText(messageFontAt(defaultDpi).lfFaceName);
}

void DialogTemplate::add(WORD controlClass, WORD id, DWORD style, short x, short y, short width,
                         short height, const std::wstring& text) {
    alignToDword();
    const DWORD fullStyle = style | WS_CHILD | WS_VISIBLE;
    addWord(LOWORD(fullStyle));
    addWord(HIWORD(fullStyle));
    addWord(0);
    addWord(0);
    addWord(static_cast<WORD>(x));
    addWord(static_cast<WORD>(y));
    addWord(static_cast<WORD>(width));
    addWord(static_cast<WORD>(height));
    addWord(id);
    addWord(0xFFFF);
    addWord(controlClass);
    addText(text);
    addWord(0); // no creation data
    ++words_[countAt_];
}

INT_PTR DialogTemplate::run(HWND owner, DLGPROC procedure, LPARAM parameter) {
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                   reinterpret_cast<LPCDLGTEMPLATEW>(words_.data()), owner,
                                   procedure, parameter);
}

void DialogTemplate::alignToDword() {
    if (words_.size() % 2 != 0) {
        addWord(0);
    }
}

void DialogTemplate::addWord(WORD word) {
    words_.push_back(word);
}

void DialogTemplate::addText(const std::wstring& text) {
    for (const wchar_t c : text) {
        words_.push_back(static_cast<WORD>(c));
    }
    words_.push_back(0);
}

void fitTextHeight(HWND dialog, int staticId) {
    HWND text = GetDlgItem(dialog, staticId);
    RECT box;
    GetWindowRect(text, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    const std::wstring content = windowText(text);
    HDC dc = GetDC(text);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, box.right - box.left, 0};
    DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc, previous);
    ReleaseDC(text, dc);
    const int grow = needed.bottom - (box.bottom - box.top);
    if (grow <= 0) {
        return;
    }
    SetWindowPos(text, nullptr, 0, 0, box.right - box.left, needed.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        if (child != text && place.top >= box.bottom) {
            SetWindowPos(child, nullptr, place.left, place.top + grow, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top - grow / 2, frame.right - frame.left,
                 frame.bottom - frame.top + grow, SWP_NOZORDER | SWP_NOACTIVATE);
}

void setProgramIcon(HWND window) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (icon != nullptr) {
        SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

} // namespace drilbank
