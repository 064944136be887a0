#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace drilbank {

// What the program shows and sounds outside its window: the modal input, message and guard
// boxes and the warning sound. The real one opens dialogs; tests put scripted answers in its
// place.
class QtDialogProvider {
public:
    virtual ~QtDialogProvider() = default;

    // The typed text on OK, nothing on Cancel or close.
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt) = 0;
    // The text, and below it in the same box the detail and the advice when there are any.
    virtual void showMessage(QWidget* parent, const QString& text, const QString& detail,
                             const QString& advice) = 0;
    // True only when the go-on choice was taken; the safe choice is the default and Escape.
    virtual bool askToGoOn(QWidget* parent, const QString& question, const QString& safeChoice,
                           const QString& goOnChoice) = 0;
    virtual void beep() = 0;
};

} // namespace drilbank
