#include "record/RecordAnswer.h"

#include "handling/FailureMessages.h"
#include "handling/TypedWorkGuard.h"
#include "texts/StudentTexts.h"

#include <optional>

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

// The text to record: the answer box's, or, when that holds nothing typed and the student
// typed in the question box, that text if the student says it is the answer. Nothing when the
// student says it is not: then nothing is recorded and both boxes stay as they are.
std::optional<std::string> answerToRecord(Run& run, const std::string& questionTyping) {
    if (questionTyping.empty() || answerBoxTyped(run)) {
        return run.platform.answerText();
    }
    const GuardQuestion isItTheAnswer{questionBoxAnswerText(questionTyping), notMyAnswerChoice,
                                      recordItChoice};
    if (!run.platform.askToGoOn(isItTheAnswer)) {
        return std::nullopt;
    }
    return questionTyping;
}

} // namespace

void recordAnswer(Run& run, const std::string& marker, BlockAppender appendBlocks) {
    RunState& state = run.state;
    const std::string questionTyping = questionBoxTyping(run);
    const std::optional<std::string> toRecord = answerToRecord(run, questionTyping);
    if (!toRecord) {
        return;
    }
    const std::string& answer = *toRecord;
    if (answer != state.answerPrompt) {
        const std::string recorded = marker + answer;
        RecordFiles& files = run.platform.files();
        try {
            files.nameClick(recorded);
            appendBlocks(run, recorded);
        } catch (const Failure& fault) {
            enterCompletedEarlierClick(run, recorded);
            run.unacknowledgedText = recorded;
            showGeneralError(run, fault, TypedText::KeptInBox);
            return;
        }
        enterCompletedEarlierClick(run, recorded);
        run.unacknowledgedText.reset();
        enterTranscript(state, recorded);
    }
    // Text typed in the question box that was not the one recorded stays, still unrecorded.
    if (questionTyping.empty() || answer == questionTyping) {
        showInQuestionBox(run, "", 0);
    }
    run.platform.setAnswerText("");
}

} // namespace drilbank
