#include "app/QtModalDialogs.h"
#include "app/QtTextBoundary.h"
#include "texts/FailureTexts.h"

#include <QAccessible>
#include <QClipboard>

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

// A modal box has a title and a close control, never minimise or maximise buttons.
bool framedAsBox(const QWidget* box) {
    const Qt::WindowFlags flags = box->windowFlags();
    return flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowTitleHint) &&
           !flags.testFlag(Qt::WindowMinimizeButtonHint) &&
           !flags.testFlag(Qt::WindowMaximizeButtonHint);
}

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
        bool framed = false;
        whenModal([&](QWidget* box) {
            seenTitle = box->windowTitle();
            framed = framedAsBox(box);
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
        QVERIFY(framed);
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
        bool framed = false;
        whenModal([&](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            seenTitle = box->windowTitle();
            framed = framedAsBox(box);
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
        QVERIFY(framed);
    }
    // The core marks where a path in a message may break; the box lays the text out by those
    // marks, but a screen reader and a copy get the message as the core wrote it.
    void aReaderAndACopyGetThePathsWithoutBreakMarks_data() {
        QTest::addColumn<bool>("guardQuestion");
        QTest::newRow("message") << false;
        QTest::newRow("guard question") << true;
    }

    void aReaderAndACopyGetThePathsWithoutBreakMarks() {
        QFETCH(bool, guardQuestion);
        const std::string place = drilbank::placeText(
            "i:\\bkp_000416\\My Documents\\distance students", "/home/ann-lee/i/bkp_000416");
        const QString plain = drilbank::toWidgetText(drilbank::folderText(place));
        const QString marked = drilbank::toWidgetText(
            drilbank::wrappingPlacesAtSeparators(drilbank::folderText(place)));
        QVERIFY(marked.contains(QChar(0x200B)) && marked.contains(QChar(0x2060)));
        const QString advice = QStringLiteral("Connect the drive.");

        QtModalDialogs dialogs;
        QStringList read;
        QString copied;
        whenModal([&](QWidget* box) {
            for (auto* label : box->findChildren<QLabel*>()) {
                if (label->text().isEmpty()) {
                    continue; // the icon
                }
                QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(label);
                read.append(reader->text(QAccessible::Name));
                if (QAccessibleTextInterface* text = reader->textInterface()) {
                    read.append(text->text(0, text->characterCount()));
                }
                QVERIFY(!label->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
            }
            read.append(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Description));
            QTest::keySequence(box, QKeySequence::Copy);
            copied = QGuiApplication::clipboard()->text();
            QTest::keyClick(box, Qt::Key_Escape);
        });
        if (guardQuestion) {
            dialogs.askToGoOn(nullptr, marked, QStringLiteral("Keep"), QStringLiteral("Lose it"));
            QCOMPARE(copied, plain);
        } else {
            dialogs.showMessage(nullptr, QStringLiteral("The error is:  76"), marked, advice);
            QCOMPARE(copied, "The error is:  76\n\n" + plain + "\n\n" + advice);
        }
        QVERIFY(read.size() >= 2);
        for (const QString& text : read) {
            QVERIFY2(!text.contains(QChar(0x200B)) && !text.contains(QChar(0x2060)) &&
                         !text.contains(QChar::Nbsp),
                     qPrintable(text));
        }
        QVERIFY2(read.join(u'|').contains(plain), qPrintable(read.join(u'|')));
    }
};

QTEST_MAIN(ModalDialogsTest)
#include "ModalDialogsTest.moc"
