#include "window/HandlerDispatcher.h"

namespace drilbank {

void HandlerDispatcher::dispatch(HandlerFunction handler) {
    if (ended_ || handling_) {
        return;
    }
    handling_ = true;
    ended_ = !runHandler(run_, handler);
    handling_ = false;
}

bool HandlerDispatcher::mayEndSession() {
    if (ended_) {
        return true;
    }
    if (handling_) {
        return !sessionEndLosesTypedWork(run_);
    }
    handling_ = true;
    const bool may = sessionMayEnd(run_);
    handling_ = false;
    return may;
}

void HandlerDispatcher::endSession() {
    if (!ended_) {
        ended_ = true;
        drilbank::endSession(run_);
    }
}

} // namespace drilbank
