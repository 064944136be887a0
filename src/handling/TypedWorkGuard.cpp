#include "handling/TypedWorkGuard.h"

#include "texts/StudentTexts.h"

#include <algorithm>

namespace drilbank {
namespace {

struct Typing {
    std::size_t start = 0;
    std::string text;
};

// The stretch where the box differs from what the program put there: between their longest
// common start and their longest common end.
Typing typingIn(const std::string& shown, const std::string& now) {
    const std::size_t most = std::min(shown.size(), now.size());
    std::size_t start = 0;
    while (start < most && shown[start] == now[start]) {
        ++start;
    }
    std::size_t end = 0;
    while (end < most - start && shown[shown.size() - 1 - end] == now[now.size() - 1 - end]) {
        ++end;
    }
    return {start, now.substr(start, now.size() - start - end)};
}

// The text without the blanks and line breaks around it, which typing into the middle of a
// text brings along; blanks and line breaks alone are nothing.
std::string trimmed(const std::string& text) {
    constexpr const char* blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

struct Stake {
    bool answerBox;
    bool questionBox;
};

Stake stakeOf(GuardedAction action) {
    switch (action) {
    case GuardedAction::NextQuestion:
    case GuardedAction::ClearBox:
        return {true, false};
    case GuardedAction::DisplayEverything:
        return {false, true};
    case GuardedAction::CloseWindow:
    case GuardedAction::Quit:
        break;
    }
    return {true, true};
}

} // namespace

GuardQuestion guardQuestion(GuardedAction action, bool inAnswerBox, bool inQuestionBox) {
    const char* loss = closeWindowLoss;
    const char* goOn = closeWindowChoice;
    switch (action) {
    case GuardedAction::NextQuestion:
        loss = nextQuestionLoss;
        goOn = nextQuestionChoice;
        break;
    case GuardedAction::ClearBox:
        loss = clearBoxLoss;
        goOn = clearBoxChoice;
        break;
    case GuardedAction::Quit:
        loss = quitLoss;
        goOn = quitChoice;
        break;
    case GuardedAction::DisplayEverything:
        loss = showEverythingLoss;
        goOn = showEverythingChoice;
        break;
    case GuardedAction::CloseWindow:
        break;
    }
    return {notRecordedText(inAnswerBox, inQuestionBox) + loss + howToKeepText, keepAnswerChoice,
            goOn};
}

bool answerBoxTyped(Run& run) {
    const std::string answer = run.platform.answerText();
    return !answer.empty() && answer != " " && answer != run.state.answerPrompt;
}

std::string questionBoxTyping(Run& run) {
    return trimmed(typingIn(run.questionBoxShown, run.platform.questionText()).text);
}

void showInQuestionBox(Run& run, const std::string& text, std::size_t inViewFrom) {
    const Typing before = typingIn(run.questionBoxShown, run.platform.questionText());
    run.platform.setQuestionText(text, inViewFrom);
    // Read back, so that the comparison is with the box's own form of the text.
    std::string shown = run.platform.questionText();
    const bool typingKept = !before.text.empty() &&
                            before.start + before.text.size() <= shown.size() &&
                            shown.compare(before.start, before.text.size(), before.text) == 0;
    if (typingKept) {
        shown.erase(before.start, before.text.size());
    }
    run.questionBoxShown = std::move(shown);
}

namespace {

struct TypedIn {
    bool answerBox;
    bool questionBox;
};

TypedIn typedIn(Run& run, GuardedAction action) {
    const Stake stake = stakeOf(action);
    return {stake.answerBox && answerBoxTyped(run),
            stake.questionBox && !questionBoxTyping(run).empty()};
}

} // namespace

bool typedWorkAtStake(Run& run, GuardedAction action) {
    const TypedIn typed = typedIn(run, action);
    return typed.answerBox || typed.questionBox;
}

bool mayDiscardTypedWork(Run& run, GuardedAction action) {
    const TypedIn typed = typedIn(run, action);
    if (!typed.answerBox && !typed.questionBox) {
        return true;
    }
    return run.platform.askToGoOn(guardQuestion(action, typed.answerBox, typed.questionBox));
}

} // namespace drilbank
