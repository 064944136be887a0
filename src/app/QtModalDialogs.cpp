#include "app/QtModalDialogs.h"

#include "texts/StudentTexts.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace drilbank {

std::optional<QString> QtModalDialogs::askText(QWidget* parent, const QString& prompt) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QString::fromLatin1(boxTitle));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

void QtModalDialogs::showMessage(QWidget* parent, const QString& text, const QString& detail,
                                 const QString& advice) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromLatin1(boxTitle));
    box.setIcon(QMessageBox::NoIcon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setInformativeText(advice.isEmpty() ? detail : detail + QStringLiteral("\n\n") + advice);
    // A path or a name with "<" in it is shown as typed, never as markup.
    if (auto* detailLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        detailLabel->setTextFormat(Qt::PlainText);
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtModalDialogs::askToGoOn(QWidget* parent, const QString& question, const QString& safeChoice,
                               const QString& goOnChoice) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromLatin1(boxTitle));
    box.setIcon(QMessageBox::Warning);
    box.setTextFormat(Qt::PlainText);
    box.setText(question);
    QPushButton* safe = box.addButton(safeChoice, QMessageBox::RejectRole);
    QPushButton* goOn = box.addButton(goOnChoice, QMessageBox::DestructiveRole);
    box.setDefaultButton(safe);
    box.setEscapeButton(safe);
    box.exec();
    return box.clickedButton() == goOn;
}

void QtModalDialogs::beep() {
    QApplication::beep();
}

} // namespace drilbank
