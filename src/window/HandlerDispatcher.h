#pragma once

#include "window/Handler.h"

namespace drilbank {

// What every front end does with an event: runs its handler, one at a time. An event that
// comes while a handler waits in a box (a timer tick, a click queued behind it) is dropped,
// and so is every event after the run ended.
class HandlerDispatcher {
public:
    explicit HandlerDispatcher(Run& run) : run_(run) {}

    void dispatch(HandlerFunction handler);
    // Log-off or shutdown. While a handler waits in a box the student is not asked again:
    // the session may end only when no typed work is at stake. Its end ends the run even
    // while a handler waits.
    bool mayEndSession();
    void endSession();
    bool hasEnded() const { return ended_; }

private:
    Run& run_;
    bool ended_ = false;
    bool handling_ = false;
};

} // namespace drilbank
