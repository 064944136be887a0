#include "app/QtModalDialogs.h"

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
                 std::optional<QString>(QStringLiteral("Ann")));
        QCOMPARE(seenTitle, QStringLiteral("drilbank"));
        QCOMPARE(seenPrompt, QStringLiteral("Your full name:  "));
        QCOMPARE(seenField, QString());
        QCOMPARE(buttons, 2);
    }

    void cancelOrCloseGiveNothingWhereAnEmptyOkGivesTheEmptyText() {
        QtModalDialogs dialogs;
        const std::function<void(QWidget*)> answers[] = {
            [](QWidget* box) { buttonOf(box, QDialogButtonBox::Cancel)->click(); },
            [](QWidget* box) { box->close(); },
            [](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); },
        };
        for (const auto& answer : answers) {
            whenModal([&answer](QWidget* box) {
                QTest::keyClicks(box->findChild<QLineEdit*>(), "typed");
                answer(box);
            });
            QCOMPARE(dialogs.askText(nullptr, QStringLiteral("Assignment Number:  ")),
                     std::optional<QString>());
        }
        whenModal([](QWidget* box) { buttonOf(box, QDialogButtonBox::Ok)->click(); });
        QCOMPARE(dialogs.askText(nullptr, QStringLiteral("Assignment Number:  ")),
                 std::optional<QString>(QString()));
    }

    // The safe choice is the default button and what Escape and closing give.
    void guardQuestionDefaultsToTheSafeChoice() {
        QtModalDialogs dialogs;
        struct Answer {
            const char* how;
            std::function<void(QMessageBox*)> act;
            bool goesOn;
        };
        const Answer answers[] = {
            {"Return", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Return); }, false},
            {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, false},
            {"close", [](QMessageBox* box) { box->close(); }, false},
            {"keep", [](QMessageBox* box) { box->buttons().at(0)->click(); }, false},
            {"go on", [](QMessageBox* box) { box->buttons().at(1)->click(); }, true},
        };
        for (const Answer& answer : answers) {
            QString defaultCaption;
            whenModal([&](QWidget* widget) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                defaultCaption = box->defaultButton()->text();
                answer.act(box);
            });
            const bool goesOn =
                dialogs.askToGoOn(nullptr, QStringLiteral("Lose it?"), QStringLiteral("Keep"),
                                  QStringLiteral("Lose it"));
            QCOMPARE(defaultCaption, QStringLiteral("Keep"));
            QVERIFY2(goesOn == answer.goesOn, answer.how);
        }
    }

    void messageBoxHasTextAndOkOnly() {
        QtModalDialogs dialogs;
        QString seenTitle, seenText, seenDetail;
        Qt::TextFormat detailFormat = Qt::RichText;
        QMessageBox::Icon icon = QMessageBox::Information;
        qsizetype buttons = 0;
        whenModal([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            seenTitle = box->windowTitle();
            seenText = box->text();
            seenDetail = box->informativeText();
            detailFormat =
                box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))->textFormat();
            icon = box->icon();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        // Plain text: a message with markup in it is shown as typed, the detail below it and
        // the advice below that.
        dialogs.showMessage(nullptr, QStringLiteral("The error is:  <b>13</b>"),
                            QStringLiteral("The folder <i:\\x> is missing."),
                            QStringLiteral("Connect <i:>."));
        QCOMPARE(seenTitle, QStringLiteral("drilbank"));
        QCOMPARE(seenText, QStringLiteral("The error is:  <b>13</b>"));
        QCOMPARE(seenDetail, QStringLiteral("The folder <i:\\x> is missing.\n\nConnect <i:>."));
        QCOMPARE(detailFormat, Qt::PlainText);
        QCOMPARE(icon, QMessageBox::NoIcon);
        QCOMPARE(buttons, 1);
    }
};

QTEST_MAIN(ModalDialogsTest)
#include "ModalDialogsTest.moc"
