// What a student types is never thrown away without a question, and one click does one thing.
#include "GuiSession.h"

#include "app/QtTextBoundary.h"
#include "handling/TypedWorkGuard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <functional>

using drilbank::testing::GuiSession;
using drilbank::testing::typeText;

namespace {

const std::string masterFile = "c:\\drilbank\\masterFile_Ann_Lee_Smith.txt";
const QString typed = QStringLiteral("my long answer");

// A click as the window system delivers it, at a given event time, optionally as the second
// click of a double click (a press followed by a double-click event).
void clickAt(QWidget& button, quint64 at, bool secondOfDouble = false) {
    const QPointF centre = QRectF(button.rect()).center();
    const QPointF global = button.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    press.setTimestamp(at);
    QApplication::sendEvent(&button, &press);
    if (secondOfDouble) {
        QMouseEvent twice(QEvent::MouseButtonDblClick, centre, global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        twice.setTimestamp(at);
        QApplication::sendEvent(&button, &twice);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    release.setTimestamp(at + 30);
    QApplication::sendEvent(&button, &release);
}

} // namespace

class TypedWorkTest : public QObject {
    Q_OBJECT

private slots:
    void eachGuardKeepsOrDiscardsAsTheStudentChooses_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("goOn");
        for (const char* action :
             {"next by Tab and Return", "close", "clear box", "after a fault"}) {
            QTest::newRow(qPrintable(QString(action) + ", keep")) << action << false;
            QTest::newRow(qPrintable(QString(action) + ", go on")) << action << true;
        }
    }

    void eachGuardKeepsOrDiscardsAsTheStudentChooses() {
        QFETCH(QString, action);
        QFETCH(bool, goOn);
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmdNextQuestion");
        QPlainTextEdit& answerBox = run.window().answerBox();
        answerBox.selectAll();
        typeText(answerBox, typed);
        const QString questionShown = run.window().questionBox().toPlainText();
        run.dialogs.goOnAnswers = {goOn};

        const drilbank::GuardQuestion* asked = &drilbank::nextQuestionGuard;
        if (action == "close") {
            asked = &drilbank::closeWindowGuard;
            run.window().close();
        } else if (action == "clear box") {
            asked = &drilbank::clearBoxGuard;
            run.click("cmd_clear_answer_box");
        } else {
            if (action == "after a fault") {
                const auto master = run.files().drives().toLocal(masterFile);
                std::filesystem::remove(master);
                std::filesystem::create_directory(master);
                run.click("cmd_enter_response");
                QCOMPARE(run.dialogs.messages.size(), 1);
                QCOMPARE(answerBox.toPlainText(), typed);
            }
            // Tab from the answer box reaches "Next Question / Answer"; Return presses it.
            answerBox.setFocus();
            QTest::keyClick(&answerBox, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), &run.window().button("cmdNextQuestion"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        QCOMPARE(run.dialogs.guardQuestions, QStringList{drilbank::toWidgetText(asked->text)});
        if (!goOn) {
            QCOMPARE(answerBox.toPlainText(), typed);
            QCOMPARE(run.window().questionBox().toPlainText(), questionShown);
            QCOMPARE(run.runEndings, 0);
            QVERIFY(run.window().isVisible());
            return;
        }
        if (action == "close") {
            QCOMPARE(run.runEndings, 1);
            QVERIFY(!run.window().isVisible());
        } else if (action == "clear box") {
            QCOMPARE(answerBox.toPlainText(), QString());
        } else {
            QVERIFY(answerBox.toPlainText().startsWith("Enter, as appropriate"));
            QVERIFY(run.window().questionBox().toPlainText().size() > questionShown.size());
        }
    }

    // A quick second click on the same button, and a key held down, do nothing more.
    void aDoubleClickOrAHeldKeyDoesOneThing() {
        GuiSession run;
        QVERIFY(run.startShown());
        QAbstractButton& next = run.window().button("cmdNextQuestion");
        const quint64 start = 1'000'000;
        clickAt(next, start);
        const QString afterOne = run.window().questionBox().toPlainText();
        QVERIFY(!afterOne.isEmpty());
        clickAt(next, start + 120, true);
        QCOMPARE(run.window().questionBox().toPlainText(), afterOne);

        run.window().answerBox().setPlainText(QStringLiteral("OK"));
        const std::string master = run.fileBytes(masterFile);
        QAbstractButton& enter = run.window().button("cmd_enter_response");
        clickAt(enter, start + 2000);
        clickAt(enter, start + 2150, true);
        const std::string gained = run.fileBytes(masterFile).substr(master.size());
        // One response block: ten lines.
        QCOMPARE(static_cast<int>(std::count(gained.begin(), gained.end(), '\n')), 10);

        // Once the interval has passed, the next click counts again.
        clickAt(next, start + 5000);
        QVERIFY(run.window().questionBox().toPlainText().size() > 0);
        const QString afterThird = run.window().questionBox().toPlainText();
        next.setFocus();
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                           true);
        QApplication::sendEvent(&next, &repeated);
        QCOMPARE(run.window().questionBox().toPlainText(), afterThird);
        QTest::keyClick(&next, Qt::Key_Return);
        QVERIFY(run.window().questionBox().toPlainText().size() > afterThird.size());
    }
};

QTEST_MAIN(TypedWorkTest)
#include "TypedWorkTest.moc"
