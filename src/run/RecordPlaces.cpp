#include "run/RecordPlaces.h"

#include "platform/DriveMap.h"

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
    return "You have finished assignment " + state.assignmentNumber +
           ". There are no more questions; the program will now close.\r\n\r\n"
           "Your answers and notes are in the folder " +
           placeOf(run, state.workDir) + ". Send the instructor the file " + sendFile +
           " from that folder.";
}

} // namespace drilbank
