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
#include <optional>

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
             {"next by Tab and Return", "close", "quit", "clear box", "after a fault",
              "quit, typed in the question box", "log-off", "log-off, typed in the question box"}) {
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
        const bool inQuestionBox = action.endsWith("question box");
        QPlainTextEdit& typedInto = inQuestionBox ? run.window().questionBox() : answerBox;
        if (inQuestionBox) {
            typedInto.moveCursor(QTextCursor::End);
        }
        typeText(typedInto, typed); // in the answer box, in place of the blank Next selected
        const QString answerShown = answerBox.toPlainText();
        const QString questionShown = run.window().questionBox().toPlainText();
        run.dialogs.goOnAnswers = {goOn};

        using drilbank::GuardedAction;
        GuardedAction asked = GuardedAction::NextQuestion;
        if (action == "close") {
            asked = GuardedAction::CloseWindow;
            run.window().close();
        } else if (action.startsWith("log-off")) {
            asked = GuardedAction::CloseWindow;
            QCOMPARE(run.session().endSession(true), goOn);
        } else if (action.startsWith("quit")) {
            asked = GuardedAction::Quit;
            run.click("cmd_quit");
        } else if (action == "clear box") {
            asked = GuardedAction::ClearBox;
            run.click("cmd_clear_answer_box");
        } else {
            if (action == "after a fault") {
                const auto master = run.files().drives().toLocal(masterFile);
                std::filesystem::remove(master);
                std::filesystem::create_directory(master);
                run.click("cmd_enter_response");
                QCOMPARE(run.dialogs.messages.size(), 1);
                QCOMPARE(answerBox.toPlainText(), answerShown);
            }
            // Tab from the answer box reaches "Next Question / Answer"; Return presses it.
            answerBox.setFocus();
            QTest::keyClick(&answerBox, Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), &run.window().button("cmdNextQuestion"));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }
        const drilbank::GuardQuestion question =
            drilbank::guardQuestion(asked, !inQuestionBox, inQuestionBox);
        QCOMPARE(run.dialogs.guardQuestions, QStringList{drilbank::toWidgetText(question.text)});
        if (!goOn) {
            if (asked == GuardedAction::NextQuestion) {
                QCOMPARE(QApplication::focusWidget(), &answerBox);
            }
            QCOMPARE(answerBox.toPlainText(), answerShown);
            QCOMPARE(run.window().questionBox().toPlainText(), questionShown);
            QCOMPARE(run.runEndings, 0);
            QVERIFY(run.window().isVisible());
            return;
        }
        if (asked == GuardedAction::CloseWindow || asked == GuardedAction::Quit) {
            QCOMPARE(run.runEndings, 1);
            QVERIFY(!run.window().isVisible());
        } else if (action == "clear box") {
            QCOMPARE(answerBox.toPlainText(), QString());
        } else {
            QVERIFY(answerBox.toPlainText().startsWith("Enter, as appropriate"));
            QVERIFY(run.window().questionBox().toPlainText().size() > questionShown.size());
        }
    }

    // A log-off the student may not be asked about ends the run only when nothing typed would
    // be lost, and shows no box; otherwise it is refused.
    void aLogOffWithoutAskingNeverLosesTypedWork_data() {
        QTest::addColumn<QString>("typedIn");
        QTest::newRow("nothing typed") << QString();
        QTest::newRow("typed in the answer box") << "answer box";
        QTest::newRow("typed in the question box") << "question box";
    }

    void aLogOffWithoutAskingNeverLosesTypedWork() {
        QFETCH(QString, typedIn);
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmdNextQuestion");
        const std::string master = run.fileBytes(masterFile);
        if (!typedIn.isEmpty()) {
            QPlainTextEdit& box =
                typedIn == "answer box" ? run.window().answerBox() : run.window().questionBox();
            box.moveCursor(QTextCursor::End);
            typeText(box, typed);
        }
        run.dialogs.goOnAnswers = {true};
        QCOMPARE(run.session().endSession(false), typedIn.isEmpty());
        QCOMPARE(run.dialogs.guardQuestions, QStringList());
        QCOMPARE(run.runEndings, typedIn.isEmpty() ? 1 : 0);
        QCOMPARE(run.fileBytes(masterFile), master);
    }

    // While a click waits in a box, a log-off is refused without a second box: the click may
    // still have work to record, and the typed answer is still in its box.
    void aLogOffWhileABoxIsUpIsRefused() {
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmdNextQuestion");
        typeText(run.window().answerBox(), typed);
        const auto master = run.files().drives().toLocal(masterFile);
        std::filesystem::remove(master);
        std::filesystem::create_directory(master);
        std::optional<bool> mayEnd;
        run.dialogs.goOnAnswers = {true};
        run.dialogs.whileMessageShown = [&] { mayEnd = run.session().endSession(true); };
        run.click("cmd_enter_response");
        QCOMPARE(run.dialogs.messages.size(), 1);
        QCOMPARE(mayEnd, std::optional<bool>(false));
        QCOMPARE(run.dialogs.guardQuestions, QStringList());
        QCOMPARE(run.runEndings, 0);
        QCOMPARE(run.window().answerBox().toPlainText(), typed);
    }

    // After "Next Question / Answer" the keyboard is in the answer box: a sentence typed at once
    // lands there whole, blanks and all, in place of the blank or prompt; a note typed earlier
    // is added to at its end.
    void theFocusFollowsTheWork() {
        GuiSession run;
        QVERIFY(run.startShown());
        QVERIFY(QTest::qWaitForWindowActive(&run.window()));
        QPlainTextEdit& answerBox = run.window().answerBox();
        const QString sentence = QStringLiteral("it drains more slowly as the depth falls");
        for (int question = 1; question <= 2; ++question) { // the blank, then the prompt
            run.click("cmdNextQuestion");
            const QString shown = run.window().questionBox().toPlainText();
            QCOMPARE(QApplication::focusWidget(), &answerBox);
            typeText(*QApplication::focusWidget(), sentence);
            QCOMPARE(answerBox.toPlainText(), sentence);
            QCOMPARE(run.window().questionBox().toPlainText(), shown);
            answerBox.setPlainText(question == 1 ? QStringLiteral(" ") : QString());
            run.dialogs.goOnAnswers = {true};
        }
        typeText(answerBox, QStringLiteral("a note"));
        run.click("cmd_enter_response");
        typeText(answerBox, QStringLiteral("a note"));
        run.click("cmdNextQuestion"); // nothing pending: the note stays
        typeText(*QApplication::focusWidget(), QStringLiteral(" more"));
        QCOMPARE(answerBox.toPlainText(), QStringLiteral("a note more"));
        QCOMPARE(run.runEndings, 0);
    }

    // An answer typed in the question box: Enter Response asks whether it is the answer and
    // records it if so; if not, nothing is recorded and both boxes stay as they are.
    void anAnswerTypedInTheQuestionBox_data() {
        QTest::addColumn<bool>("isTheAnswer");
        QTest::newRow("record it") << true;
        QTest::newRow("not my answer") << false;
    }

    void anAnswerTypedInTheQuestionBox() {
        QFETCH(bool, isTheAnswer);
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmdNextQuestion");
        QPlainTextEdit& questionBox = run.window().questionBox();
        questionBox.moveCursor(QTextCursor::End);
        typeText(questionBox, QStringLiteral("\nThe slope gets smaller"));
        const QString questionShown = questionBox.toPlainText();
        const std::string master = run.fileBytes(masterFile);
        run.dialogs.goOnAnswers = {isTheAnswer};
        run.click("cmd_enter_response");

        QCOMPARE(run.dialogs.guardQuestions.size(), 1);
        QVERIFY(run.dialogs.guardQuestions[0].contains("The slope gets smaller"));
        const std::string gained = run.fileBytes(masterFile).substr(master.size());
        if (isTheAnswer) {
            QVERIFY(gained.find("RESPONSE -->  \r\nThe slope gets smaller") != std::string::npos);
            QCOMPARE(questionBox.toPlainText(), QString());
            QCOMPARE(run.window().answerBox().toPlainText(), QString());
            return;
        }
        QCOMPARE(gained, std::string());
        QCOMPARE(questionBox.toPlainText(), questionShown);
        QCOMPARE(run.window().answerBox().toPlainText(), QStringLiteral(" "));
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
