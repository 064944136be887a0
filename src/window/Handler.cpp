#include "window/Handler.h"

#include "handling/FailureMessages.h"
#include "handling/FileNotices.h"
#include "handling/TypedWorkGuard.h"
#include "os/Failure.h"
#include "pictures/PictureTools.h"
#include "record/EnterResponse.h"
#include "record/ReviewDisplays.h"
#include "record/SaveAsNotes.h"
#include "script/NextQuestion.h"
#include "startup/OpenAssignment.h"
#include "startup/StartUpDialogue.h"

#include <array>

namespace drilbank {
namespace {

constexpr std::array<ButtonHandler, 10> handlers{{
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

void closeEveryChannel(Run& run) {
    try {
        run.platform.files().closeAll();
    } catch (...) {
        // The run goes on or is over; closeAll has kept every block whole or left it out.
    }
}

// Even the message box may fail, when memory has run out; the click then ends quietly.
void showFailureSafely(Run& run, const Failure& fault) {
    try {
        showGeneralError(run, fault);
    } catch (...) {
    }
}

} // namespace

bool runHandler(Run& run, HandlerFunction handler) {
    try {
        try {
            handler(run);
        } catch (const RunEnded&) {
            throw;
        } catch (...) {
            showFailureSafely(run, currentFailure());
        }
        reportingFailures(run, &showJournalNotices);
        return true;
    } catch (const RunEnded&) {
        closeEveryChannel(run);
        run.platform.endRun();
        return false;
    }
}

void closeWindow(Run& run) {
    if (mayDiscardTypedWork(run, GuardedAction::CloseWindow)) {
        endRunAtOnce();
    }
}

void quitClicked(Run& run) {
    if (mayDiscardTypedWork(run, GuardedAction::Quit)) {
        endRunAtOnce();
    }
}

bool sessionEndLosesTypedWork(Run& run) {
    try {
        return typedWorkAtStake(run, GuardedAction::CloseWindow);
    } catch (...) {
        return true; // what the boxes hold is unknown: kept rather than risked
    }
}

void sessionEndWithoutAsking(Run& run) {
    if (!sessionEndLosesTypedWork(run)) {
        endRunAtOnce();
    }
}

bool sessionMayEnd(Run& run) {
    try {
        return mayDiscardTypedWork(run, GuardedAction::CloseWindow);
    } catch (...) {
        return false;
    }
}

void endSession(Run& run) {
    closeEveryChannel(run);
    try {
        run.platform.endRun();
    } catch (...) {
        // The session goes on ending; every channel is closed already.
    }
}

void loadWindow(Run& run) {
    sayWhenFilesWait(run);
    startUpDialogue(run);
    openAssignment(run);
    reportingFailures(run, &showJournalNotices);
}

std::span<const ButtonHandler> buttonHandlers() {
    return handlers;
}

void timerTicked(Run& run) {
    pendulumTimerTicked(run);
}

} // namespace drilbank
