#pragma once

#include "app/platform/QtDialogProvider.h"

#include <QStringList>

namespace drilbank::testing {

// Input-box answers scripted in advance, message boxes and beeps recorded instead of shown.
class ScriptedDialogs final : public QtDialogProvider {
public:
    QStringList answers; // taken in order; the empty text (as on Cancel) when none is left
    QStringList prompts;
    QStringList messages;
    int beeps = 0;

    QString askText(QWidget* parent, const QString& prompt) override;
    void showMessage(QWidget* parent, const QString& text) override;
    void beep() override { ++beeps; }
};

} // namespace drilbank::testing
