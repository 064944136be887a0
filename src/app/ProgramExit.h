#pragma once

namespace drilbank {

// Ends the process at once once the run is over. Every record file is closed and on the disk
// by then; what would remain is the toolkit's own tidying up, which without a session bus
// waits on timeouts for seconds after the window has gone.
[[noreturn]] void leaveProgram();

} // namespace drilbank
