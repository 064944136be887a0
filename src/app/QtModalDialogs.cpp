#include "app/QtModalDialogs.h"

#include "texts/StudentTexts.h"

#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace drilbank {
namespace {

// A box titled with the program's name and framed as a dialog: a title and a close control,
// and no minimise or maximise buttons, which a modal box has no use for.
void frameBox(QDialog& box) {
    box.setWindowTitle(QString::fromLatin1(boxTitle));
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint);
}

// A message box framed as above whose text is shown as typed, never read as markup.
void setUpMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& text) {
    frameBox(box);
    box.setIcon(icon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
}

} // namespace

std::optional<QString> QtModalDialogs::askText(QWidget* parent, const QString& prompt) {
    QInputDialog dialog(parent);
    frameBox(dialog);
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
    setUpMessageBox(box, QMessageBox::NoIcon, text);
    const bool both = !detail.isEmpty() && !advice.isEmpty();
    box.setInformativeText(detail + (both ? QStringLiteral("\n\n") : QString()) + advice);
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
    setUpMessageBox(box, QMessageBox::Warning, question);
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
