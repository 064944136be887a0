#include "record/RecordAnswer.h"

#include "handling/FailureMessages.h"

namespace drilbank {
namespace {

void enterTranscript(RunState& state, const std::string& recorded) {
    state.responsePending = false;
    state.workText = recorded;
    state.cumulativeText = state.answerSeparator + recorded + state.cumulativeText;
}

// An earlier click that failed but that the journal completed since enters the transcript
// too. Only the journal says whether it was completed; the run remembers just its text.
void enterCompletedEarlierClick(Run& run, const std::string& recorded) {
    RecordFiles& files = run.platform.files();
    if (run.unacknowledgedText && files.completedClick() &&
        *files.completedClick() == files.clickName(*run.unacknowledgedText)) {
        if (*run.unacknowledgedText != recorded) {
            enterTranscript(run.state, *run.unacknowledgedText);
        }
        run.unacknowledgedText.reset();
    }
}

} // namespace

void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks) {
    RunState& state = run.state;
    const std::string answer = run.platform.answerText();
    if (answer != state.answerPrompt) {
        const std::string recorded = marker + answer;
        RecordFiles& files = run.platform.files();
        try {
            files.nameClick(recorded);
            appendBlocks(run, recorded);
        } catch (const Failure& fault) {
            enterCompletedEarlierClick(run, recorded);
            run.unacknowledgedText = recorded;
            showGeneralError(run, fault);
            return;
        }
        enterCompletedEarlierClick(run, recorded);
        run.unacknowledgedText.reset();
        enterTranscript(state, recorded);
    }
    run.platform.setQuestionText("");
    run.platform.setAnswerText("");
}

} // namespace drilbank
