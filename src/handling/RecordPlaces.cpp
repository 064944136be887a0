#include "handling/RecordPlaces.h"

#include "files/DriveMap.h"
#include "texts/FailureTexts.h"
#include "texts/StudentTexts.h"

namespace drilbank {

std::string placeOf(Run& run, const std::string& windowsPath) {
    try {
        const std::filesystem::path local = run.platform.files().drives().toLocal(windowsPath);
        return describePlace(windowsPath, local);
    } catch (...) {
        return windowsPath;
    }
}

std::string completionMessage(Run& run) {
    const RunState& state = run.state;
    const std::string sendFile = state.sendFilePath.substr(state.sendFilePath.rfind('\\') + 1);
    return wrappingPlacesAtSeparators(
        completionText(state.assignmentNumber, placeOf(run, state.workDir), sendFile));
}

} // namespace drilbank
