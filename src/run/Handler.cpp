#include "run/Handler.h"

#include "platform/Failure.h"
#include "run/FailureMessages.h"
#include "run/OpenAssignment.h"
#include "run/StartUpDialogue.h"
#include "run/TypedWorkGuard.h"

namespace drilbank {
namespace {

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
        reportingFailures(run, &showSetAsideJournals);
        return true;
    } catch (const RunEnded&) {
        closeEveryChannel(run);
        run.platform.endRun();
        return false;
    }
}

void closeWindow(Run& run) {
    if (mayDiscardTypedWork(run, closeWindowGuard)) {
        endRunAtOnce();
    }
}

void loadWindow(Run& run) {
    startUpDialogue(run);
    openAssignment(run);
    reportingFailures(run, &showSetAsideJournals);
}

} // namespace drilbank
