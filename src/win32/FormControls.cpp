#include "win32/FormControls.h"

#include "win32/PictureControl.h"
#include "win32/WideText.h"

#include <algorithm>
#include <stdexcept>

namespace drilbank {
namespace {

bool takesFocus(const ControlRow& row) {
    return row.kind != ControlKind::Label && row.kind != ControlKind::Timer;
}

} // namespace

std::vector<const ControlRow*> rowsInTabOrder() {
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Timer) {
            rows.push_back(&row);
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const ControlRow* a, const ControlRow* b) {
        if (takesFocus(*a) != takesFocus(*b)) {
            return takesFocus(*a);
        }
        return a->tabIndex < b->tabIndex;
    });
    return rows;
}

HWND createFormControl(HWND form, const ControlRow& row, int id, const RECT& box) {
    const wchar_t* windowClass = L"BUTTON";
    // Every control clips its siblings, so that a label never paints over the box it
    // overlaps ("# sentences previous" and its box).
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD extended = 0;
    switch (row.kind) {
    case ControlKind::CommandButton:
        // Drawn by the system's theme like every other button; the form puts the caption's
        // line breaks in, and is told of the focus to move the default-button rim with it.
        style |= BS_PUSHBUTTON | BS_MULTILINE | BS_NOTIFY | WS_TABSTOP;
        break;
    case ControlKind::TextBox:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::MultiLineTextBox:
        windowClass = L"EDIT";
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Label:
        windowClass = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case ControlKind::ListBox:
        windowClass = L"LISTBOX";
        style |= LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::PictureArea:
        windowClass = PictureControl::className;
        style |= WS_TABSTOP;
        extended = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Timer:
        return nullptr;
    }
    HWND window = CreateWindowExW(extended, windowClass, toWide(row.caption).c_str(), style,
                                  box.left, box.top, box.right - box.left, box.bottom - box.top,
                                  form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        throw std::runtime_error("a control could not be created");
    }
    if (row.kind == ControlKind::MultiLineTextBox) {
        // No limit: a multi-line box otherwise stops at 32 767 characters, less than a long
        // run's transcript.
        SendMessageW(window, EM_SETLIMITTEXT, 0, 0);
    }
    return window;
}

} // namespace drilbank
