#include "window/PressRule.h"

namespace drilbank {

bool PressRule::pressCounts(const void* button, std::uint64_t atMs, std::uint64_t doubleClickMs) {
    const auto last = lastPress_.find(button);
    // A clock that went back counts as a new press rather than swallowing every later one.
    if (last != lastPress_.end() && atMs >= last->second && atMs - last->second < doubleClickMs) {
        return false;
    }
    lastPress_[button] = atMs;
    return true;
}

} // namespace drilbank
