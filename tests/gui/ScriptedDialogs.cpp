#include "ScriptedDialogs.h"

namespace drilbank::testing {

std::optional<QString> ScriptedDialogs::askText(QWidget*, const QString& prompt) {
    prompts.append(prompt);
    if (prompts.size() - 1 == cancelAtBox) {
        return std::nullopt;
    }
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

void ScriptedDialogs::showMessage(QWidget*, const QString& text, const QString& detail,
                                  const QString& advice) {
    messages.append(text);
    details.append(detail);
    advices.append(advice);
    if (whileMessageShown) {
        whileMessageShown();
    }
}

bool ScriptedDialogs::askToGoOn(QWidget*, const QString& question, const QString&, const QString&) {
    guardQuestions.append(question);
    return !goOnAnswers.isEmpty() && goOnAnswers.takeFirst();
}

} // namespace drilbank::testing
