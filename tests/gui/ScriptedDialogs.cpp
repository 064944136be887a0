#include "ScriptedDialogs.h"

namespace drilbank::testing {

QString ScriptedDialogs::askText(QWidget*, const QString& prompt) {
    prompts.append(prompt);
    return answers.isEmpty() ? QString() : answers.takeFirst();
}

void ScriptedDialogs::showMessage(QWidget*, const QString& text) {
    messages.append(text);
}

} // namespace drilbank::testing
