#include "script/ScriptStore.h"

#include "os/Failure.h"

namespace drilbank {

std::size_t checkedSlot(int index) {
    if (index < 0 || index > lastScriptSlot) {
        throw Failure(failure::IndexOutOfRange);
    }
    return static_cast<std::size_t>(index);
}

void appendScriptLine(RunState& state, std::string line) {
    ++state.scriptIndex;
    state.scriptLines[checkedSlot(state.scriptIndex)] = std::move(line);
}

bool isRoutineLine(std::string_view line) {
    return lowerCase(leftOf(line, 8)) == "`routine";
}

} // namespace drilbank
