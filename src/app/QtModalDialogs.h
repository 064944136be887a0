#pragma once

#include "app/QtDialogProvider.h"

namespace drilbank {

// Modal boxes titled with the program's own name, and the system's beep.
class QtModalDialogs final : public QtDialogProvider {
public:
    std::optional<QString> askText(QWidget* parent, const QString& prompt) override;
    void showMessage(QWidget* parent, const QString& text, const QString& detail,
                     const QString& advice) override;
    bool askToGoOn(QWidget* parent, const QString& question, const QString& safeChoice,
                   const QString& goOnChoice) override;
    void beep() override;
};

} // namespace drilbank
