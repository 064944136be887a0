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

} // namespace drilbank
