#include "app/ProgramExit.h"

#include <cstdio>
#include <cstdlib>

namespace drilbank {

void leaveProgram() {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(EXIT_SUCCESS);
}

} // namespace drilbank
