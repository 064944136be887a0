#include "handling/TypedWorkGuard.h"

#include "texts/StudentTexts.h"

namespace drilbank {
namespace {

GuardQuestion guardAgainst(const char* loss, const char* goOnChoice) {
    return {std::string(notRecordedText) + loss + howToKeepText, keepAnswerChoice, goOnChoice};
}

} // namespace

const GuardQuestion nextQuestionGuard = guardAgainst(nextQuestionLoss, nextQuestionChoice);
const GuardQuestion closeWindowGuard = guardAgainst(closeWindowLoss, closeWindowChoice);
const GuardQuestion clearBoxGuard = guardAgainst(clearBoxLoss, clearBoxChoice);

bool holdsTypedWork(Run& run) {
    const std::string answer = run.platform.answerText();
    return !answer.empty() && answer != " " && answer != run.state.answerPrompt;
}

bool mayDiscardTypedWork(Run& run, const GuardQuestion& question) {
    return !holdsTypedWork(run) || run.platform.askToGoOn(question);
}

} // namespace drilbank
