#pragma once

#include <QString>

class QWidget;

namespace drilbank {

// What the program shows and sounds outside its window: the modal input and message boxes
// and the warning sound. The real one opens dialogs; tests put scripted answers in its place.
class QtDialogProvider {
public:
    virtual ~QtDialogProvider() = default;

    // The typed text; the empty text on Cancel or close.
    virtual QString askText(QWidget* parent, const QString& prompt) = 0;
    virtual void showMessage(QWidget* parent, const QString& text) = 0;
    virtual void beep() = 0;
};

} // namespace drilbank
