#pragma once

#include "run/PlatformServices.h"
#include "win32/AccessibleNames.h"
#include "win32/FormScroller.h"
#include "window/ControlTable.h"

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace drilbank {

class FontSet;
class PictureControl;

// The main window "Form1": a frame whose client area holds the form, and the form every
// control of the control table at its twip box through the monitor's DPI. On a screen too
// small for it the frame shrinks to the free area and scrolls the form.
class FormWindow {
public:
    struct Events {
        std::function<void(std::string_view button)> clicked;
        std::function<void()> closeRequested;
        std::function<void()> timerTicked;
        // The system asks whether the session may end (log-off, shutdown): true lets it.
        std::function<bool()> sessionEndQueried;
        // The session ends; the process goes when this returns.
        std::function<void()> sessionEnded;
    };

    explicit FormWindow(Events events);
    ~FormWindow();
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    // The frame, the form and its controls are made when first asked for, or built ahead
    // while nothing shows them: the start-up boxes come before them and need none of them,
    // so the first box shows sooner.
    void build();
    HWND frame() {
        build();
        return frame_;
    }
    HWND form() {
        build();
        return form_;
    }
    HWND control(std::string_view name, int index = noIndex);
    HWND questionBox() { return control("txt_question"); }
    HWND answerBox() { return control("txt_answer"); }
    PictureControl& picture(PictureArea area);
    // A picture's user scale, which the run sets before the start-up boxes: kept until the
    // picture is made rather than making the form for it.
    void setPictureScale(PictureArea area, float height, float width);

    // Sized to the form, or to the monitor's free area when that is smaller, and shown.
    void show();
    void hide();
    bool isVisible() const;
    void setTimerRunning(bool running);
    bool timerRunning() const { return timerRunning_; }

    // Places every control and sizes the form and fonts for a DPI: at creation, and when
    // the window moves to a monitor of another DPI.
    void applyDpi(UINT dpi);
    UINT dpi() const { return dpi_; }

    // Keyboard navigation of the form (Tab, Shift+Tab, Enter, Space) and the wheel; true
    // when the message was handled so. A focused control that Tab reached is scrolled into
    // view.
    bool handleDialogMessage(MSG& message);
    void scrollIntoView(HWND control) { scroller_.scrollIntoView(control); }
    // Whether the system took the controls' accessible names (Wine does not).
    bool accessibleNamesGiven() const { return accessibleNames_.given(); }

private:
    struct Control {
        const ControlRow* row;
        HWND window;
    };

    static LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK formProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onFrameMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    // The form's answer to WM_NEXTDLGCTL, which a multi-line box sends for Tab and Shift+Tab.
    void moveFocus(WPARAM wParam, LPARAM lParam);
    // The focused push button has the default-button rim, as Enter presses it.
    static void markDefaultButton(HWND button, bool focused);
    // The wheel goes to the control under the pointer, not the focused one, so that it
    // scrolls the form wherever no box under the pointer scrolls itself.
    void aimWheel(MSG& message) const;
    HFONT fontFor(const Control& control, FontSet& fonts) const;
    void nameForAssistiveTools();

    Events events_;
    HWND frame_ = nullptr;
    HWND form_ = nullptr;
    std::vector<Control> controls_;
    std::unique_ptr<FontSet> fonts_; // the controls' fonts at the present DPI
    UINT dpi_ = 96;
    FormScroller scroller_;
    AccessibleNames accessibleNames_;
    bool timerRunning_ = false;
    HWND lastFocus_ = nullptr; // the control to give the focus back to
    std::array<std::optional<std::pair<float, float>>, 2> pictureScales_; // height, width
};

} // namespace drilbank
