#include "record/RecordAnswer.h"

#include "handling/FailureMessages.h"

namespace drilbank {
namespace {

void enterTranscript(RunState& state, const std::string& recorded) {
    state.responsePending = false;
    state.workText = recorded;
    state.cumulativeText = state.answerSeparator + recorded + state.cumulativeText;
}

// Completes a recording that a fault interrupted; gives whether it was this very click, which
// is then recorded. A different text or button after it is a click of its own.
bool completedAsInterrupted(Run& run, const std::string& marker, const std::string& recorded) {
    if (!run.interruptedRecording) {
        return false;
    }
    RecordFiles& files = run.platform.files();
    try {
        files.recover(run.state.workDir);
    } catch (const Failure&) {
        if (!files.clickInterrupted()) {
            // Not left to complete any more: found changed by someone else and reported.
            run.interruptedRecording.reset();
        }
        throw;
    }
    const InterruptedRecording completed = *run.interruptedRecording;
    run.interruptedRecording.reset();
    enterTranscript(run.state, completed.recordedText);
    return completed.marker == marker && completed.recordedText == recorded;
}

} // namespace

void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks) {
    RunState& state = run.state;
    const std::string answer = run.platform.answerText();
    if (answer != state.answerPrompt) {
        const std::string recorded = marker + answer;
        try {
            if (!completedAsInterrupted(run, marker, recorded)) {
                appendBlocks(run, recorded);
                enterTranscript(state, recorded);
            }
        } catch (const Failure& fault) {
            if (run.platform.files().clickInterrupted() && !run.interruptedRecording) {
                run.interruptedRecording = InterruptedRecording{marker, recorded};
            }
            showGeneralError(run, fault);
            return;
        }
    }
    run.platform.setQuestionText("");
    run.platform.setAnswerText("");
}

} // namespace drilbank
