#pragma once

#include "app/QtDialogProvider.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace drilbank::testing {

// Input-box answers scripted in advance, message boxes, guard questions and beeps recorded
// instead of shown.
class ScriptedDialogs final : public QtDialogProvider {
public:
    QStringList answers;  // taken in order; the empty text (an empty OK) when none is left
    int cancelAtBox = -1; // the input box (counted from 0) answered with Cancel instead
    QStringList prompts;
    QStringList messages;
    QStringList details;     // each message's detail, beside it
    QStringList advices;     // each message's advice, beside it
    QList<bool> goOnAnswers; // guard answers in order; the safe choice when none is left
    QStringList guardQuestions;
    int beeps = 0;
    std::function<void()> whileMessageShown; // what happens while a message box is up

    std::optional<QString> askText(QWidget* parent, const QString& prompt) override;
    void showMessage(QWidget* parent, const QString& text, const QString& detail,
                     const QString& advice) override;
    bool askToGoOn(QWidget* parent, const QString& question, const QString& safeChoice,
                   const QString& goOnChoice) override;
    void beep() override { ++beeps; }
};

} // namespace drilbank::testing
