#include "app/platform/QtModalDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using drilbank::QtModalDialogs;

namespace {

// Acts on the modal box once it is up, from inside its own event loop.
void whenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        act(QApplication::activeModalWidget());
    });
}

QPushButton* buttonOf(QWidget* box, QDialogButtonBox::StandardButton which) {
    return box->findChild<QDialogButtonBox*>()->button(which);
}

} // namespace

class ModalDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void inputBoxShowsPromptAndEmptyFieldUnderTheProgramsTitle() {
        QtModalDialogs dialogs;
        QString seenTitle, seenPrompt, seenField;
        int buttons = 0;
        whenModal([&](QWidget* box) {
            seenTitle = box->windowTitle();
            seenPrompt = box->findChild<QLabel*>()->text();
            seenField = box->findChild<QLineEdit*>()->text();
            buttons = box->findChild<QDialogButtonBox*>()->buttons().size();
            QTest::keyClicks(box->findChild<QLineEdit*>(), "Ann");
            buttonOf(box, QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(dialogs.askText(nullptr, QStringLiteral("Your full name:  ")),
                 QStringLiteral("Ann"));
        QCOMPARE(seenTitle, QStringLiteral("drilbank"));
        QCOMPARE(seenPrompt, QStringLiteral("Your full name:  "));
        QCOMPARE(seenField, QString());
        QCOMPARE(buttons, 2);
    }

    void cancelOrCloseGivesTheEmptyText() {
        QtModalDialogs dialogs;
        whenModal([](QWidget* box) {
            QTest::keyClicks(box->findChild<QLineEdit*>(), "typed");
            buttonOf(box, QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(dialogs.askText(nullptr, QStringLiteral("Assignment Number:  ")), QString());
        whenModal([](QWidget* box) {
            QTest::keyClicks(box->findChild<QLineEdit*>(), "typed");
            box->close();
        });
        QCOMPARE(dialogs.askText(nullptr, QStringLiteral("Assignment Number:  ")), QString());
    }

    void messageBoxHasTextAndOkOnly() {
        QtModalDialogs dialogs;
        QString seenTitle, seenText;
        QMessageBox::Icon icon = QMessageBox::Information;
        qsizetype buttons = 0;
        whenModal([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            seenTitle = box->windowTitle();
            seenText = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        // Plain text: a message with markup in it is shown as typed.
        dialogs.showMessage(nullptr, QStringLiteral("The error is:  <b>13</b>"));
        QCOMPARE(seenTitle, QStringLiteral("drilbank"));
        QCOMPARE(seenText, QStringLiteral("The error is:  <b>13</b>"));
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
    }
};

QTEST_MAIN(ModalDialogsTest)
#include "ModalDialogsTest.moc"
