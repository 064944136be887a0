#pragma once

#include "platform/Failure.h"
#include "platform/RecordFiles.h"

#include <initializer_list>

namespace drilbank {

// Runs a recording step (opens, writes, reads), then closes the listed channels whatever
// happened. Gives the number of the first fault, 0 when everything succeeded.
template <typename Step>
int faultWhileRecording(RecordFiles& files, std::initializer_list<int> channels, Step step) {
    int fault = 0;
    try {
        step();
    } catch (const Failure& failed) {
        fault = failed.number();
    }
    try {
        files.close(channels);
    } catch (const Failure& failed) {
        if (fault == 0) {
            fault = failed.number();
        }
    }
    return fault;
}

} // namespace drilbank
