#pragma once

#include "run/PlatformServices.h"
#include "run/RunState.h"

#include <optional>
#include <string>

namespace drilbank {

// A run of the program: its state and the platform it talks to. Every operation of the
// program takes the run and reads and writes its state directly.
struct Run {
    explicit Run(PlatformServices& services) : platform(services) {}

    RunState state;
    PlatformServices& platform;
    // The text of the last recording click that failed. Whether it reached the files is
    // never decided from here, only from the journal; this gives the transcript its words
    // when the journal reports it completed.
    std::optional<std::string> unacknowledgedText;
    // The question box as the program last filled it, read back from the box, less any text
    // the student typed there that the box still holds: the rest is what the student typed.
    std::string questionBoxShown;
};

} // namespace drilbank
