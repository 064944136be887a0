#pragma once

#include <cstdint>
#include <map>

namespace drilbank {

// One action per click: a press on a button within the double-click interval of the last
// press let through on that same button is dropped, and so is a key press a held key repeats.
// A quick double click then does one thing, not two. Front ends feed it their own events'
// times and button identities.
class PressRule {
public:
    // Whether a mouse press at `atMs` on `button` counts; a counted press is remembered.
    bool pressCounts(const void* button, std::uint64_t atMs, std::uint64_t doubleClickMs);
    static bool keyCounts(bool autoRepeat) { return !autoRepeat; }
    void forget(const void* button) { lastPress_.erase(button); }

private:
    std::map<const void*, std::uint64_t> lastPress_;
};

} // namespace drilbank
