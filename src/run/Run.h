#pragma once

#include "platform/PlatformServices.h"
#include "run/RunState.h"

#include <optional>
#include <string>

namespace drilbank {

// A recording click that a fault interrupted after its record files were promised its
// blocks: the record layer completes those blocks later, so the same text is never
// recorded a second time.
struct InterruptedRecording {
    std::string marker;       // what the button puts in front of the answer
    std::string recordedText; // the marker and the answer
};

// A run of the program: its state and the platform it talks to. Every operation of the
// program takes the run and reads and writes its state directly.
struct Run {
    explicit Run(PlatformServices& services) : platform(services) {}

    RunState state;
    PlatformServices& platform;
    std::optional<InterruptedRecording> interruptedRecording;
    // The question box as the program last filled it, read back from the box, less any text
    // the student typed there that the box still holds: the rest is what the student typed.
    std::string questionBoxShown;
};

} // namespace drilbank
