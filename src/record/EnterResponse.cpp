#include "record/EnterResponse.h"

#include "record/RecordBlocks.h"
#include "record/RecordChannels.h"
#include "run/FailureMessages.h"

namespace drilbank {
namespace {

// Appends the response block to the master and send files; a fault is shown with its number
// and the result is false. Enter Response opens its channels without closing them first.
bool appendResponseBlocks(Run& run, const std::string& answer) {
    const RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const int fault = faultWhileRecording(files, {masterChannel, sendChannel}, [&] {
        files.open(masterChannel, state.masterFilePath, ChannelMode::Append);
        files.open(sendChannel, state.sendFilePath, ChannelMode::Append);
        writeResponseBlock(run, answer);
    });
    if (fault != 0) {
        run.platform.messageBox(generalErrorMessage(fault));
    }
    return fault == 0;
}

} // namespace

void enterResponseClicked(Run& run) {
    RunState& state = run.state;
    const std::string answer = run.platform.answerText();
    if (answer != state.answerPrompt) {
        if (!appendResponseBlocks(run, answer)) {
            return; // the run state and both boxes stay, so nothing typed is lost
        }
        state.responsePending = false;
        state.workText = answer;
        state.cumulativeText = state.answerSeparator + answer + state.cumulativeText;
    }
    run.platform.setQuestionText("");
    run.platform.setAnswerText("");
}

} // namespace drilbank
