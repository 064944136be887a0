#include "script/ScriptReader.h"

#include "encoding/NumberReading.h"
#include "handling/FailureMessages.h"
#include "handling/RecordPlaces.h"
#include "os/Failure.h"
#include "script/ScriptStore.h"

#include <algorithm>
#include <string_view>

namespace drilbank {
namespace {

constexpr std::string_view questionMarker = "`q";
constexpr std::string_view endOfScriptMarker = "####.#";
constexpr std::string_view sentenceBreak = ". ";

bool isQuestionMarkerLine(std::string_view line) {
    return lowerCase(leftOf(line, 2)) == questionMarker;
}

// Characters 3 to 5 read as a number and written back as plain decimal: "007" gives "7".
std::string questionNumberOf(std::string_view line) {
    const std::string_view digits = line.size() > 2 ? line.substr(2, 3) : std::string_view();
    return numberText(leadingNumber(digits));
}

void recordConsumedLine(RunState& state, const std::string& line) {
    state.currentLine = line;
    if (isQuestionMarkerLine(line)) {
        state.currentQuestion = questionNumberOf(line);
    }
    state.cumulativeText = state.questionSeparator + line + state.cumulativeText;
}

// Past the last slot the assignment is done: the student is told so, and where the answers
// are, instead of being told to start over; then the run ends as it would after that message.
[[noreturn]] void finishAssignment(Run& run) {
    run.platform.messageBox(completionMessage(run));
    endRunAtOnce();
}

// Advances over blank slots to the next non-blank line; past slot 5000 the assignment is
// finished, with the cursor left advanced.
std::string consumeNextLine(Run& run) {
    RunState& state = run.state;
    std::string line;
    while (line.empty()) {
        ++state.scriptIndex;
        if (state.scriptIndex > lastScriptSlot) {
            finishAssignment(run);
        }
        line = state.scriptLines[checkedSlot(state.scriptIndex)];
    }
    recordConsumedLine(state, line);
    if (!isRoutineLine(line)) {
        state.responsePending = true;
    }
    return line;
}

void readNextLine(Run& run) {
    RunState& state = run.state;
    if (state.responsePending) {
        run.platform.setAnswerText(state.answerPrompt); // the last line went unanswered
    }
    state.responsePending = false;

    std::string lineInHand;
    const bool readingNewLine = state.sentenceStart == 0;
    if (readingNewLine) {
        lineInHand = consumeNextLine(run);
    }

    if (state.presentationMode == 1) {
        state.displayText = lineInHand;
    } else if (state.presentationMode == 2) {
        // With a line in progress no new line is read; the pieces come from the current line.
        state.displayText = nextSentence(state, readingNewLine ? lineInHand : state.currentLine);
    }

    if (leftOf(lineInHand, 3) == state.nextAssignmentNumber) {
        endRunAtOnce();
    }
    if (lineInHand.starts_with(endOfScriptMarker)) {
        endRunAtOnce();
    }
}

} // namespace

void readNextQuestion(Run& run) {
    reportingFailures(run, &readNextLine);
}

std::string nextSentence(RunState& state, const std::string& line) {
    const std::size_t from = state.sentenceStart > 0 ? std::size_t(state.sentenceStart - 1) : 0;
    const std::size_t start = std::min(from, line.size());
    const std::size_t breakAt = line.find(sentenceBreak, start);
    const std::size_t end =
        breakAt == std::string::npos ? line.size() : breakAt + sentenceBreak.size();
    if (end == line.size()) {
        // The last piece: the line is done and awaits a response.
        state.sentenceStart = 0;
        state.responsePending = true;
    } else {
        state.sentenceStart = static_cast<int>(end) + 1; // 1-based, just after the break
    }
    return line.substr(start, end - start);
}

} // namespace drilbank
