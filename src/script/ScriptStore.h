#pragma once

#include "encoding/TextPieces.h"
#include "run/RunState.h"

#include <string>
#include <string_view>

namespace drilbank {

// Advances the cursor, then stores the line in that slot; a slot outside 0..5000 is
// failure 9, with the cursor left advanced and nothing stored.
void appendScriptLine(RunState& state, std::string line);

// The index as a slot of the store, or failure 9 outside 0..5000.
std::size_t checkedSlot(int index);

// Whether a line's first eight characters, lower-cased, are the routine marker "`routine".
bool isRoutineLine(std::string_view line);

} // namespace drilbank
