#include "win32/Win32Session.h"

#include "texts/StudentTexts.h"
#include "win32/WideText.h"

namespace drilbank {

Win32Session::Win32Session(Win32Platform::Parts parts)
    : window_({[this](std::string_view button) { clicked(button); },
               [this] { dispatcher_.dispatch(&closeWindow); },
               [this] { dispatcher_.dispatch(&timerTicked); },
               [this] { return sessionEndQueried(); }, [this] { dispatcher_.endSession(); }}),
      platform_(window_, parts, [this] { endRun(); }), run_(platform_), dispatcher_(run_) {}

bool Win32Session::load() {
    dispatcher_.dispatch(&loadWindow);
    return !dispatcher_.hasEnded();
}

void Win32Session::clicked(std::string_view button) {
    for (const ButtonHandler& wiring : buttonHandlers()) {
        if (wiring.button == button) {
            dispatcher_.dispatch(wiring.handler);
        }
    }
}

void Win32Session::endRun() {
    window_.setTimerRunning(false);
    window_.hide();
    if (onRunEnded) {
        onRunEnded();
    }
}

bool Win32Session::sessionEndQueried() {
    HWND frame = window_.frame();
    if (!sessionEndLosesTypedWork(run_)) {
        ShutdownBlockReasonDestroy(frame);
        return true;
    }
    // The reason stands while the student is asked, and afterwards while the work is kept.
    ShutdownBlockReasonCreate(frame, toWide(sessionEndBlockedReason).c_str());
    const bool may = dispatcher_.mayEndSession();
    if (may) {
        ShutdownBlockReasonDestroy(frame);
    }
    return may;
}

void Win32Session::handle(MSG& message) {
    if (gate_.drops(message) || window_.handleDialogMessage(message)) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void Win32Session::runMessageLoop() {
    MSG message;
    while (!dispatcher_.hasEnded() && GetMessageW(&message, nullptr, 0, 0) > 0) {
        handle(message);
    }
}

void Win32Session::handlePendingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        handle(message);
    }
}

} // namespace drilbank
