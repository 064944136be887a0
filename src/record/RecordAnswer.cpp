#include "record/RecordAnswer.h"

#include "run/FailureMessages.h"

namespace drilbank {

void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks) {
    RunState& state = run.state;
    const std::string answer = run.platform.answerText();
    if (answer != state.answerPrompt) {
        const std::string recorded = marker + answer;
        if (const int fault = appendBlocks(run, recorded); fault != 0) {
            run.platform.messageBox(generalErrorMessage(fault));
            return;
        }
        state.responsePending = false;
        state.workText = recorded;
        state.cumulativeText = state.answerSeparator + recorded + state.cumulativeText;
    }
    run.platform.setQuestionText("");
    run.platform.setAnswerText("");
}

} // namespace drilbank
