#include "BoxRobot.h"

#include "win32/ModalBoxes.h"
#include "win32/WideText.h"

#include <algorithm>
#include <array>

namespace drilbank::testing {
namespace {

using drilbank::windowText;

BoxRobot* active = nullptr;

std::wstring className(HWND window) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

BOOL CALLBACK findBox(HWND window, LPARAM found) {
    if (className(window) == L"#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The width of the widest line of a static control's text, in its own font.
int widestLine(HWND text) {
    const std::wstring content = windowText(text);
    HDC dc = GetDC(text);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (std::size_t start = 0; start <= content.size();) {
        std::size_t end = content.find(L"\r\n", start);
        end = end == std::wstring::npos ? content.size() : end;
        SIZE size{};
        GetTextExtentPoint32W(dc, content.c_str() + start, static_cast<int>(end - start), &size);
        widest = std::max<int>(widest, size.cx);
        start = end + 2;
    }
    SelectObject(dc, previous);
    ReleaseDC(text, dc);
    return widest;
}

} // namespace

BoxRobot::BoxRobot() {
    active = this;
    timer_ = SetTimer(nullptr, 0, 5, &BoxRobot::tick);
}

BoxRobot::~BoxRobot() {
    KillTimer(nullptr, timer_);
    active = nullptr;
}

void CALLBACK BoxRobot::tick(HWND, UINT, UINT_PTR, DWORD) {
    if (active == nullptr) {
        return;
    }
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &findBox, reinterpret_cast<LPARAM>(&box));
    if (box != nullptr) {
        active->handle(box);
    }
}

void BoxRobot::handle(HWND box) {
    std::wstring texts;
    buttonCaptions.clear();
    style = static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE));
    widestText = 0;
    textWidth = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = className(child);
        if (kind == L"Static" && GetWindowTextLengthW(child) > 0) {
            texts += (texts.empty() ? L"" : L"\r\n\r\n") + windowText(child);
            RECT inside;
            GetClientRect(child, &inside);
            widestText = std::max(widestText, widestLine(child));
            textWidth = textWidth == 0 ? inside.right : std::min<int>(textWidth, inside.right);
        } else if (kind == L"Button") {
            buttonCaptions.push_back(windowText(child));
        }
    }
    seen.push_back(texts);
    defaultButton = LOWORD(SendMessageW(box, DM_GETDEFID, 0, 0));
    Answer answer = key(VK_ESCAPE);
    if (!answers.empty()) {
        answer = std::move(answers.front());
        answers.pop_front();
    }
    answer(box);
}

BoxRobot::Answer BoxRobot::type(const std::wstring& text) {
    return [text](HWND box) {
        SetWindowTextW(GetDlgItem(box, modalbox::inputId), text.c_str());
        SendMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    };
}

BoxRobot::Answer BoxRobot::press(int id) {
    return [id](HWND box) { SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0); };
}

BoxRobot::Answer BoxRobot::key(WORD virtualKey) {
    // Through the box's own loop, as a key on the keyboard arrives.
    return [virtualKey](HWND box) {
        HWND focus = GetFocus();
        HWND target = focus != nullptr && IsChild(box, focus) ? focus : box;
        PostMessageW(target, WM_KEYDOWN, virtualKey, 1);
        PostMessageW(target, WM_KEYUP, virtualKey, LPARAM(1) | (LPARAM(3) << 30));
    };
}

BoxRobot::Answer BoxRobot::closeBox() {
    return [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

} // namespace drilbank::testing
