#include "app/DrillSession.h"

#include "pictures/PictureTools.h"
#include "platform/Failure.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"

#include <QAbstractButton>

#include <array>
#include <string_view>

namespace drilbank {
namespace {

struct ButtonWiring {
    std::string_view button;
    HandlerFunction handler;
};

// The buttons that carry behaviour; every other control is inert.
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

DrillSession::DrillSession(QtPlatform::Parts parts)
    : platform_(window_, parts, [this] { endRun(); }), run_(platform_) {
    wireControls();
}

void DrillSession::wireControls() {
    for (const ButtonWiring& wiring : buttonHandlers) {
        QAbstractButton& button = window_.button(wiring.button);
        clickGate_.guard(button);
        connect(&button, &QAbstractButton::clicked, this,
                [this, handler = wiring.handler] { dispatch(handler); });
    }
    connect(&window_.pendulumTimer(), &QTimer::timeout, this,
            [this] { dispatch(&pendulumTimerTicked); });
    connect(&window_, &MainWindow::closeRequested, this, [this] { dispatch(&closeWindow); });
}

bool DrillSession::load() {
    dispatch(&loadWindow);
    return !ended_;
}

void DrillSession::dispatch(HandlerFunction handler) {
    // A timer tick that falls due while a handler waits in a message box is dropped, so
    // that handlers still run one at a time.
    if (ended_ || handling_) {
        return;
    }
    handling_ = true;
    runHandler(run_, handler);
    handling_ = false;
}

void DrillSession::endRun() {
    ended_ = true;
    window_.pendulumTimer().stop();
    window_.hide();
    emit runEnded();
}

} // namespace drilbank
