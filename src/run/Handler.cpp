#include "run/Handler.h"

#include "platform/Failure.h"
#include "run/FailureMessages.h"
#include "run/OpenAssignment.h"
#include "run/StartUpDialogue.h"

namespace drilbank {

bool runHandler(Run& run, HandlerFunction handler) {
    try {
        try {
            handler(run);
            return true;
        } catch (const Failure& fault) {
            showGeneralError(run, fault);
            return true;
        }
    } catch (const RunEnded&) {
        try {
            run.platform.files().closeAll();
        } catch (const Failure&) {
            // The run is over; closeAll has kept every block whole or left it out.
        }
        run.platform.endRun();
        return false;
    }
}

void loadWindow(Run& run) {
    startUpDialogue(run);
    openAssignment(run);
}

} // namespace drilbank
