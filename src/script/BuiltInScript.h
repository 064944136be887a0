#pragma once

#include "run/RunState.h"

#include <array>
#include <string_view>

namespace drilbank {

constexpr std::size_t builtInScriptLength = 19;

const std::array<std::string_view, builtInScriptLength>& builtInScriptLines();

// Appends the built-in script from the cursor on; start-up sets the cursor to 0 first.
void storeBuiltInScript(RunState& state);

} // namespace drilbank
