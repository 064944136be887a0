#include "app/QtModalDialogs.h"

#include "texts/StudentTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QKeyEvent>
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

// The core marks where a path may break (a zero-width space) and where it may not (a word
// joiner), and keeps a path's blanks together (no-break spaces). The box lays its text out by
// those marks; a screen reader and a copy get the text without them.
QString withoutBreakMarks(QString text) {
    text.remove(QChar(0x200B));
    text.remove(QChar(0x2060));
    text.replace(QChar::Nbsp, u' ');
    return text;
}

// A message box whose copy (Ctrl+C) is the message as plain text.
class MessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

    QString plainText() const {
        const QString detail = informativeText();
        return withoutBreakMarks(detail.isEmpty() ? text()
                                                  : text() + QStringLiteral("\n\n") + detail);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(plainText());
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

// A message box framed as above whose text is shown as typed, never read as markup.
void setUpMessageBox(QMessageBox& box, QMessageBox::Icon icon, const QString& text) {
    frameBox(box);
    box.setIcon(icon);
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
}

// Each label of the box is read without the break marks, and its marked text cannot be
// selected and copied: a copy is the whole box's plain text.
void giveReadersPlainText(MessageBox& box) {
    for (const char* name : {"qt_msgbox_label", "qt_msgbox_informativelabel"}) {
        if (auto* label = box.findChild<QLabel*>(QString::fromLatin1(name))) {
            label->setAccessibleName(withoutBreakMarks(label->text()));
            label->setTextInteractionFlags(Qt::NoTextInteraction);
        }
    }
    box.setAccessibleDescription(box.plainText());
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
    MessageBox box(parent);
    setUpMessageBox(box, QMessageBox::NoIcon, text);
    const bool both = !detail.isEmpty() && !advice.isEmpty();
    box.setInformativeText(detail + (both ? QStringLiteral("\n\n") : QString()) + advice);
    // A path or a name with "<" in it is shown as typed, never as markup.
    if (auto* detailLabel = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        detailLabel->setTextFormat(Qt::PlainText);
    }
    box.setStandardButtons(QMessageBox::Ok);
    giveReadersPlainText(box);
    box.exec();
}

bool QtModalDialogs::askToGoOn(QWidget* parent, const QString& question, const QString& safeChoice,
                               const QString& goOnChoice) {
    MessageBox box(parent);
    setUpMessageBox(box, QMessageBox::Warning, question);
    QPushButton* safe = box.addButton(safeChoice, QMessageBox::RejectRole);
    QPushButton* goOn = box.addButton(goOnChoice, QMessageBox::DestructiveRole);
    box.setDefaultButton(safe);
    box.setEscapeButton(safe);
    giveReadersPlainText(box);
    box.exec();
    return box.clickedButton() == goOn;
}

void QtModalDialogs::beep() {
    QApplication::beep();
}

} // namespace drilbank
