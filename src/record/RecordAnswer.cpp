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
        try {
            if (!completedAsInterrupted(run, marker, recorded)) {
                appendBlocks(run, recorded);
                enterTranscript(state, recorded);
            }
        } catch (const Failure& fault) {
            if (run.platform.files().clickInterrupted() && !run.interruptedRecording) {
                run.interruptedRecording = InterruptedRecording{marker, recorded};
            }
            showGeneralError(run, fault, TypedText::KeptInBox);
            return;
        }
    }
    // Text typed in the question box that was not the one recorded stays, still unrecorded.
    if (questionTyping.empty() || answer == questionTyping) {
        showInQuestionBox(run, "");
    }
    run.platform.setAnswerText("");
}

} // namespace drilbank
