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
    bool hasEnded() const { return ended_; }

private:
    Run& run_;
    bool ended_ = false;
    bool handling_ = false;
};

} // namespace drilbank
