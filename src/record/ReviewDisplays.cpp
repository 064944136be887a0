#include "record/ReviewDisplays.h"

#include "platform/Failure.h"
#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"
#include "run/FailureMessages.h"

namespace drilbank {

const char* const noNotesMessage = "No notes have been saved yet.";

void displayNotesClicked(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    // The lines are joined in a copy, so that a fault part way leaves workText as it was.
    std::string joined = state.workText;
    const int fault = faultWhileRecording(files, {notesChannel}, [&] {
        files.close(notesChannel);
        files.open(notesChannel, state.notesFilePath, ChannelMode::Input);
        while (!files.atEndOfFile(notesChannel)) {
            joined += files.readLine(notesChannel);
        }
    });
    if (fault == failure::FileNotFound) {
        run.platform.messageBox(noNotesMessage);
        return;
    }
    if (fault != 0) {
        run.platform.messageBox(generalErrorMessage(fault));
        return;
    }
    state.workText = std::move(joined);
    run.platform.setQuestionText(run.platform.questionText() + state.workText);
}

void displayEverythingClicked(Run& run) {
    run.platform.setQuestionText(run.state.cumulativeText);
}

void clearBoxClicked(Run& run) {
    run.platform.setAnswerText("");
}

} // namespace drilbank
