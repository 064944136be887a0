#pragma once

#include "files/RecordFiles.h"
#include "os/Failure.h"

#include <initializer_list>
#include <optional>

namespace drilbank {

// Runs a step on the listed channels (opens, writes, reads), then closes them whatever
// happened. After a step that finished, closing commits what the channels hold as one
// click; after a step that failed part way, nothing of it is written. Throws the first fault.
template <typename Step>
void usingChannels(RecordFiles& files, std::initializer_list<int> channels, Step step) {
    try {
        step();
    } catch (const Failure&) {
        files.abandon(channels);
        throw;
    }
    files.close(channels);
}

} // namespace drilbank
