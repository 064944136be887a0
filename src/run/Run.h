#pragma once

#include "platform/PlatformServices.h"
#include "run/RunState.h"

namespace drilbank {

// A run of the program: its state and the platform it talks to. Every operation of the
// program takes the run and reads and writes its state directly.
struct Run {
    explicit Run(PlatformServices& services) : platform(services) {}

    RunState state;
    PlatformServices& platform;
};

} // namespace drilbank
