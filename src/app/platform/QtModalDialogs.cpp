#include "app/platform/QtModalDialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace drilbank {

const char* const QtModalDialogs::title = "drilbank";

QString QtModalDialogs::askText(QWidget* parent, const QString& prompt) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QString::fromLatin1(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return dialog.textValue();
}

void QtModalDialogs::showMessage(QWidget* parent, const QString& text) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromLatin1(title));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void QtModalDialogs::beep() {
    QApplication::beep();
}

} // namespace drilbank
