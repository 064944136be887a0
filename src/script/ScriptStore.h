#pragma once

#include "run/RunState.h"

#include <string>
#include <string_view>

namespace drilbank {

// Advances the cursor, then stores the line in that slot; a slot outside 0..5000 is
// failure 9, with the cursor left advanced and nothing stored.
void appendScriptLine(RunState& state, std::string line);

// The index as a slot of the store, or failure 9 outside 0..5000.
std::size_t checkedSlot(int index);

// The first n characters of a text, the whole text when it is shorter.
inline std::string_view leftOf(std::string_view text, std::size_t n) {
    return text.substr(0, n);
}

// Whether a line's first eight characters, lower-cased, are the routine marker "`routine".
bool isRoutineLine(std::string_view line);

// Lower-cases the ASCII letters of a text, as the script's markers are compared.
std::string lowerCase(std::string_view text);

} // namespace drilbank
