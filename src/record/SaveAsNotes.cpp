#include "record/SaveAsNotes.h"

#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"
#include "run/FailureMessages.h"

namespace drilbank {
namespace {

// Appends the notes block to the master, send and notes files; a fault is shown with its
// number and the result is false. Closing first frees channels another Part left open.
bool appendNotesBlocks(Run& run, const std::string& notesText) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const auto channels = {masterChannel, sendChannel, notesChannel};
    const int fault = faultWhileRecording(files, channels, [&] {
        closeChannels(files, channels);
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
        files.open(notesChannel, state.notesFilePath, ChannelMode::Append);
        writeNotesBlock(run, notesText);
    });
    if (fault != 0) {
        run.platform.messageBox(generalErrorMessage(fault));
    }
    return fault == 0;
}

} // namespace

void saveAsNotesClicked(Run& run) {
    RunState& state = run.state;
    const std::string answer = run.platform.answerText();
    if (answer != state.answerPrompt) {
        const std::string notesText = notesMarker + answer;
        if (!appendNotesBlocks(run, notesText)) {
            return; // the run state and both boxes stay, so nothing typed is lost
        }
        state.responsePending = false;
        state.workText = notesText;
        state.cumulativeText = state.answerSeparator + notesText + state.cumulativeText;
    }
    run.platform.setQuestionText("");
    run.platform.setAnswerText("");
}

} // namespace drilbank
