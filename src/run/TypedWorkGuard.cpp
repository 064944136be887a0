#include "run/TypedWorkGuard.h"

namespace drilbank {
namespace {

const char* const notRecorded = "What you typed in the answer box has not been recorded yet. ";
const char* const keepChoice = "Keep my answer";
const char* const howToKeep = "\r\n\r\nTo keep it, choose \"Keep my answer\", then click "
                              "\"Enter Response\" or \"Save as Notes\".";

} // namespace

const GuardQuestion nextQuestionGuard{
    std::string(notRecorded) +
        "If you go on to the next question, the instructions are put back in the answer box "
        "and what you typed is lost." +
        howToKeep,
    keepChoice, "Next question, lose my answer"};

const GuardQuestion closeWindowGuard{
    std::string(notRecorded) + "If you close the program now, what you typed is lost." + howToKeep,
    keepChoice, "Close, lose my answer"};

const GuardQuestion clearBoxGuard{std::string(notRecorded) +
                                      "If you clear the box, what you typed is lost." + howToKeep,
                                  keepChoice, "Clear the box, lose my answer"};

bool holdsTypedWork(Run& run) {
    const std::string answer = run.platform.answerText();
    return !answer.empty() && answer != " " && answer != run.state.answerPrompt;
}

bool mayDiscardTypedWork(Run& run, const GuardQuestion& question) {
    return !holdsTypedWork(run) || run.platform.askToGoOn(question);
}

} // namespace drilbank
