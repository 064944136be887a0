#include "win32/Win32Session.h"

#include "pictures/PictureTools.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"

#include <array>

namespace drilbank {
namespace {

struct ButtonWiring {
    std::string_view button;
    HandlerFunction handler;
};

constexpr std::array<ButtonWiring, 10> buttonHandlers{{
    {"cmdNextQuestion", &nextQuestionClicked},
    {"cmd_next_picture", &nextPictureClicked},
    {"cmd_enter_response", &enterResponseClicked},
    {"cmd_save_as_notes", &saveAsNotesClicked},
    {"cmd_display_note_file", &displayNotesClicked},
    {"cmd_displayCumulativeText", &displayEverythingClicked},
    {"cmd_clear_answer_box", &clearBoxClicked},
    {"cmd_copy_picture", &copyPictureClicked},
    {"cmd_pend_exp", &pendExpClicked},
    {"cmd_quit", &quitClicked},
}};

} // namespace

Win32Session::Win32Session(Win32Platform::Parts parts)
    : window_({[this](std::string_view button) { clicked(button); },
               [this] { dispatch(&closeWindow); }, [this] { dispatch(&pendulumTimerTicked); }}),
      platform_(window_, parts, [this] { endRun(); }), run_(platform_) {}

bool Win32Session::load() {
    dispatch(&loadWindow);
    return !ended_;
}

void Win32Session::clicked(std::string_view button) {
    for (const ButtonWiring& wiring : buttonHandlers) {
        if (wiring.button == button) {
            dispatch(wiring.handler);
        }
    }
}

void Win32Session::dispatch(HandlerFunction handler) {
    // A timer tick that falls due while a handler waits in a box is dropped, so that
    // handlers still run one at a time.
    if (ended_ || handling_) {
        return;
    }
    handling_ = true;
    runHandler(run_, handler);
    handling_ = false;
}

void Win32Session::endRun() {
    ended_ = true;
    window_.setTimerRunning(false);
    window_.hide();
    if (onRunEnded) {
        onRunEnded();
    }
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
    while (!ended_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
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
