#include "script/NextQuestion.h"

#include "handling/FailureMessages.h"
#include "handling/TypedWorkGuard.h"
#include "os/Failure.h"
#include "script/ScriptReader.h"
#include "script/ScriptStore.h"

#include <algorithm>
#include <array>

namespace drilbank {
namespace {

// A routine line's name runs from character 10 to the end; character 9 only separates.
std::string routineNameOf(std::string_view routineLine) {
    return lowerCase(
        remSpaces(routineLine.size() > 9 ? routineLine.substr(9) : std::string_view()));
}

// The line in the slot, or nothing for a slot outside the store: a look past slot 5000 finds
// no routine line.
std::string_view slotOrNothing(const RunState& state, int index) {
    if (index < 0 || index > lastScriptSlot) {
        return {};
    }
    return state.scriptLines[static_cast<std::size_t>(index)];
}

void showNextQuestion(Run& run) {
    RunState& state = run.state;
    readNextQuestion(run);
    if (state.displayText.size() > 8 && isRoutineLine(state.displayText)) {
        runRoutine(routineNameOf(state.displayText));
        state.displayText.clear();
        readNextQuestion(run); // a second routine line in a row is shown as text
    }
    state.workText = run.platform.questionText();
    // The new question is read from its start, however long it is.
    const std::size_t questionStart = state.workText.size();
    state.workText += state.displayText;
    state.displayText.clear();
    showInQuestionBox(run, state.workText, questionStart);
    // The next thing to type is the answer: a prompt or blank in the box is replaced by the
    // first key, and text typed earlier is added to.
    run.platform.focusAnswerBox(answerBoxTyped(run) ? AnswerCaret::AtEnd : AnswerCaret::SelectAll);
}

} // namespace

void nextQuestionClicked(Run& run) {
    // The reader would put the prompt back over an unrecorded answer; the student decides.
    if (run.state.responsePending && !mayDiscardTypedWork(run, GuardedAction::NextQuestion)) {
        // Kept: the answer is where the student goes on working, not the button.
        run.platform.focusAnswerBox(AnswerCaret::AtEnd);
        return;
    }
    reportingFailures(run, &showNextQuestion);
}

void nextPictureClicked(Run& run) {
    RunState& state = run.state;
    for (int look = 1; look <= 2; ++look) {
        // The second look is taken from the cursor as the first look may have moved it.
        const std::string_view line = slotOrNothing(state, state.scriptIndex + look);
        if (isRoutineLine(line)) {
            runRoutine(routineNameOf(line));
            state.scriptIndex += look;
        }
    }
}

std::string remSpaces(std::string_view text) {
    std::string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char c) { return c != ' ' && c != '-'; });
    return kept;
}

void runRoutine(const std::string& routine) {
    static constexpr std::array<std::string_view, 3> harmless{"graph1", "graph2", "graph3"};
    const std::string name = lowerCase(routine);
    if (std::find(harmless.begin(), harmless.end(), name) == harmless.end()) {
        endRunAtOnce(); // "exitprog" and every unknown name alike
    }
}

} // namespace drilbank
