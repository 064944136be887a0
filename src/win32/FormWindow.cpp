#include "win32/FormWindow.h"

#include "win32/ButtonGate.h"
#include "win32/CaptionFit.h"
#include "win32/FormControls.h"
#include "win32/FormLayout.h"
#include "win32/PictureControl.h"
#include "win32/WideText.h"

#include <algorithm>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>

namespace drilbank {
namespace {

const wchar_t* const frameClass = L"drilbankFrame";
const wchar_t* const formClass = L"drilbankForm";
constexpr UINT_PTR pendulumTimerId = 1;
constexpr int firstControlId = 1000;
constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL;

std::wstring wide(std::string_view text) {
    return toWide(text);
}

} // namespace

FormWindow::FormWindow(Events events) : events_(std::move(events)) {}

void FormWindow::build() {
    if (frame_ != nullptr) {
        return;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    PictureControl::registerClass(instance);
    for (const auto& [name, procedure] : {std::pair{frameClass, &FormWindow::frameProcedure},
                                          std::pair{formClass, &FormWindow::formProcedure}}) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.hInstance = instance;
        windowClass.lpfnWndProc = procedure;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
    frame_ =
        CreateWindowExW(0, frameClass, toWide(windowTitle).c_str(), frameStyle | WS_CLIPCHILDREN,
                        CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, this);
    if (frame_ == nullptr) {
        throw std::runtime_error("the window could not be created");
    }
    const UINT dpi = GetDpiForWindow(frame_);
    dpi_ = dpi == 0 ? defaultDpi : dpi;
    const SIZE form = formSizeAt(dpi_);
    try {
        form_ = CreateWindowExW(WS_EX_CONTROLPARENT, formClass, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, form.cx, form.cy,
                                frame_, nullptr, instance, this);
        if (form_ == nullptr) {
            throw std::runtime_error("the window could not be created");
        }
        scroller_.attach(frame_, form_);
        createControls();
    } catch (...) {
        // Nothing half made stays behind to be taken for the whole form later.
        DestroyWindow(frame_);
        frame_ = form_ = nullptr;
        controls_.clear();
        throw;
    }
    nameForAssistiveTools();
    scroller_.fit(form, dpi_);
    for (const PictureArea area : {PictureArea::Picture1, PictureArea::Picture2}) {
        if (const auto& scale = pictureScales_[static_cast<std::size_t>(area)]) {
            picture(area).setScale(scale->first, scale->second);
        }
    }
}

FormWindow::~FormWindow() {
    if (frame_ != nullptr) {
        SetWindowLongPtrW(frame_, GWLP_USERDATA, 0);
        SetWindowLongPtrW(form_, GWLP_USERDATA, 0);
        accessibleNames_.clear();
        DestroyWindow(frame_);
    }
}

void FormWindow::createControls() {
    const std::span<const ControlRow> table = controlTable();
    fonts_ = std::make_unique<FontSet>();
    for (const ControlRow* row : rowsInTabOrder()) {
        const int id = firstControlId + static_cast<int>(row - table.data());
        const Control control{row, createFormControl(form_, *row, id, controlBoxAt(*row, dpi_))};
        controls_.push_back(control);
        SendMessageW(control.window, WM_SETFONT,
                     reinterpret_cast<WPARAM>(fontFor(control, *fonts_)), FALSE);
    }
}

void FormWindow::nameForAssistiveTools() {
    for (const Control& control : controls_) {
        const std::string_view name = control.row->accessibleName.empty()
                                          ? control.row->caption
                                          : control.row->accessibleName;
        accessibleNames_.name(control.window, wide(name));
    }
}

HWND FormWindow::control(std::string_view name, int index) {
    build();
    for (const Control& control : controls_) {
        if (control.row->name == name && control.row->index == index) {
            return control.window;
        }
    }
    return nullptr;
}

PictureControl& FormWindow::picture(PictureArea area) {
    return PictureControl::of(control(area == PictureArea::Picture1 ? "Picture1" : "Picture2"));
}

void FormWindow::setPictureScale(PictureArea area, float height, float width) {
    pictureScales_[static_cast<std::size_t>(area)] = {height, width};
    if (frame_ != nullptr) {
        picture(area).setScale(height, width);
    }
}

HFONT FormWindow::fontFor(const Control& control, FontSet& fonts) const {
    const ControlKind kind = control.row->kind;
    if (control.row->font == ControlFont::Box) {
        return fonts.at(boxFontHeightAt(dpi_));
    }
    if (kind == ControlKind::CommandButton || kind == ControlKind::Label) {
        return fitCaption(control.window, kind, wide(control.row->caption), fonts,
                          windowFontHeightAt(dpi_));
    }
    return fonts.at(windowFontHeightAt(dpi_));
}

void FormWindow::applyDpi(UINT dpi) {
    build();
    dpi_ = dpi == 0 ? defaultDpi : dpi;
    // The new fonts are in place before the old ones are deleted with their set.
    auto fonts = std::make_unique<FontSet>();
    const SIZE form = formSizeAt(dpi_);
    SetWindowPos(form_, nullptr, 0, 0, form.cx, form.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const Control& control : controls_) {
        const RECT box = controlBoxAt(*control.row, dpi_);
        SetWindowPos(control.window, nullptr, box.left, box.top, box.right - box.left,
                     box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(control, *fonts)),
                     TRUE);
    }
    fonts_ = std::move(fonts);
    scroller_.fit(form, dpi_);
}

void FormWindow::show() {
    build();
    const SIZE form = formSizeAt(dpi_);
    RECT frame{0, 0, form.cx, form.cy};
    AdjustWindowRectExForDpi(&frame, frameStyle, FALSE, 0, dpi_);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(frame_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& free = monitor.rcWork;
    const int width = std::min<int>(frame.right - frame.left, free.right - free.left);
    const int height = std::min<int>(frame.bottom - frame.top, free.bottom - free.top);
    RECT placed;
    GetWindowRect(frame_, &placed);
    // Where the system put the window by default, unless it would reach past the free area.
    int left = placed.left;
    int top = placed.top;
    if (left + width > free.right || left < free.left) {
        left = free.left;
    }
    if (top + height > free.bottom || top < free.top) {
        top = free.top;
    }
    SetWindowPos(frame_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(frame_, SW_SHOW);
    UpdateWindow(frame_);
    SetFocus(questionBox());
}

void FormWindow::hide() {
    if (frame_ != nullptr) {
        ShowWindow(frame_, SW_HIDE);
    }
}

bool FormWindow::isVisible() const {
    return frame_ != nullptr && IsWindowVisible(frame_) != FALSE;
}

void FormWindow::setTimerRunning(bool running) {
    // Starting a running timer again would restart its interval, not add a second one.
    if (running && !timerRunning_) {
        build();
        SetTimer(frame_, pendulumTimerId, pendulumIntervalMs, nullptr);
    } else if (!running && timerRunning_) {
        KillTimer(frame_, pendulumTimerId);
    }
    timerRunning_ = running;
}

LRESULT FormWindow::onFrameMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        if (events_.closeRequested) {
            events_.closeRequested();
        }
        return 0;
    case WM_TIMER:
        if (wParam == pendulumTimerId && events_.timerTicked) {
            events_.timerTicked();
        }
        return 0;
    case WM_SIZE:
        scroller_.fit(formSizeAt(dpi_), dpi_);
        return 0;
    case WM_ACTIVATE:
        // As a dialog does: the control that had the focus gets it back when a box closes
        // or the student returns to the window.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus != nullptr && IsChild(form_, focus) ? focus : lastFocus_;
        } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_HSCROLL:
        scroller_.onScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        scroller_.onScroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        scroller_.onWheel(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_MOUSEHWHEEL:
        // Turned to the right, towards what is right of the view.
        scroller_.onWheel(SB_HORZ, -GET_WHEEL_DELTA_WPARAM(wParam));
        return TRUE;
    case WM_QUERYENDSESSION:
        return events_.sessionEndQueried ? events_.sessionEndQueried() : TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE && events_.sessionEnded) {
            events_.sessionEnded();
        }
        return 0;
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(frame_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        return DefWindowProcW(frame_, message, wParam, lParam);
    }
}

LRESULT CALLBACK FormWindow::frameProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* self = static_cast<FormWindow*>(create->lpCreateParams);
        self->frame_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->form_ == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onFrameMessage(message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::formProcedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_NEXTDLGCTL) {
        self->moveFocus(wParam, lParam);
        return 0;
    }
    if (message == WM_COMMAND &&
        (HIWORD(wParam) == BN_SETFOCUS || HIWORD(wParam) == BN_KILLFOCUS)) {
        markDefaultButton(reinterpret_cast<HWND>(lParam), HIWORD(wParam) == BN_SETFOCUS);
        return 0;
    }
    if (self != nullptr && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const std::size_t position = LOWORD(wParam) - static_cast<std::size_t>(firstControlId);
        const auto table = controlTable();
        if (position < table.size() && table[position].kind == ControlKind::CommandButton &&
            self->events_.clicked) {
            self->events_.clicked(table[position].name);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace drilbank
