#include "GuiSession.h"

#include "app/QtTextBoundary.h"
#include "handling/FailureMessages.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <fstream>
#include <sstream>

using drilbank::testing::GuiSession;
using drilbank::testing::typeText;

namespace {

const std::string masterFile = "c:\\drilbank\\masterFile_Ann_Lee_Smith.txt";
const std::string sendFile = "c:\\drilbank\\send_0416Ann_Lee_Smith.txt";
const std::string notesFile = "c:\\drilbank\\notes_Ann_Lee_Smith.txt";

std::string golden(const char* name) {
    std::ifstream in(std::string(DRILBANK_GOLDEN) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

QString invalidAssignment() {
    return QString::fromLatin1(drilbank::invalidAssignmentMessage);
}

} // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    // A student's whole run through the real widgets: two answers typed and pasted, with a
    // Greek letter, an emoji and line breaks, the reviews, and "quit program".
    void wholeSessionWritesTheRecordFiles() {
        GuiSession run;
        run.scriptPlainKeyLine();
        QVERIFY(run.startShown());
        QCOMPARE(run.dialogs.prompts.size(), 4);

        run.click("cmdNextQuestion");
        QVERIFY(run.window().questionBox().toPlainText().startsWith("Suppose the depth"));
        run.click("cmd_clear_answer_box");
        typeText(run.window().answerBox(),
                 QString::fromUtf8("\u0394v = 11 cm\nso fast \U0001F600"));
        run.click("cmd_enter_response");
        QCOMPARE(run.window().answerBox().toPlainText(), QString());

        run.click("cmdNextQuestion");
        QGuiApplication::clipboard()->setText(QStringLiteral("first line\r\nsecond line"));
        run.window().answerBox().setFocus();
        QTest::keyClick(&run.window().answerBox(), Qt::Key_V, Qt::ControlModifier);
        run.click("cmd_save_as_notes");

        run.click("cmd_display_note_file");
        const QString notesShown = run.window().questionBox().toPlainText();
        QVERIFY(notesShown.startsWith("NOTES -------> first line\nsecond line......!!!!"));
        run.click("cmd_displayCumulativeText");
        const QString transcript = run.window().questionBox().toPlainText();
        QVERIFY(transcript.contains(QString::fromUtf8("\u0394v = 11 cm\nso fast \U0001F600")));

        run.click("cmd_quit");
        QCOMPARE(run.runEndings, 1);
        QVERIFY(!run.window().isVisible());
        QVERIFY(run.dialogs.messages.isEmpty());
        QCOMPARE(run.fileBytes(masterFile), golden("masterFile_Ann_Lee_Smith.txt"));
        QCOMPARE(run.fileBytes(sendFile), golden("send_0416Ann_Lee_Smith.txt"));
        QCOMPARE(run.fileBytes(notesFile), golden("notes_Ann_Lee_Smith.txt"));
    }

    void anAssignmentNotInTheScriptEndsTheRunUnseen() {
        GuiSession run;
        QVERIFY(!run.start({"1", "Ann Lee Smith", "ALS", "2"}));
        QCOMPARE(run.dialogs.messages, QStringList{invalidAssignment()});
        QCOMPARE(run.runEndings, 1);
        // Never shown: the window system was never even asked for a window.
        QVERIFY(run.window().windowHandle() == nullptr);
        QVERIFY(!run.fileExists(masterFile));
    }

    void aFirstAnswerThatIsNoNumberShowsBothMessages() {
        GuiSession run;
        QVERIFY(!run.start({"home"}));
        const QStringList expected{QString::fromStdString(drilbank::generalErrorMessage(13)),
                                   invalidAssignment()};
        QCOMPARE(run.dialogs.messages, expected);
        QVERIFY(run.window().windowHandle() == nullptr);
    }

    void readingPastTheLastQuestionCompletesTheAssignment() {
        GuiSession run;
        QVERIFY(run.startShown());
        for (int question = 1; question <= 9; ++question) {
            run.click("cmdNextQuestion");
        }
        const QString shown = run.window().questionBox().toPlainText();
        run.click("cmdNextQuestion");
        QCOMPARE(run.dialogs.messages.size(), 1);
        const QString done = QString::fromStdString(
            drilbank::testing::withoutWrapMarks(drilbank::fromWidgetText(run.dialogs.messages[0])));
        QVERIFY(done.startsWith("You have finished assignment 001."));
        const QString folder =
            QString::fromStdString(run.files().drives().toLocal("c:\\drilbank").string());
        QVERIFY2(done.contains("c:\\drilbank (on this computer: " + folder + ")"),
                 qPrintable(done));
        QCOMPARE(run.runEndings, 1);
        QVERIFY(!run.window().isVisible());
        QCOMPARE(run.window().questionBox().toPlainText(), shown);
    }

    // Cancel or closing any start-up box leaves at once: no further box, no file, no window.
    // An empty OK goes on as before.
    void cancelLeavesWhereAnEmptyOkGoesOn_data() {
        QTest::addColumn<int>("box");
        for (int box = 0; box < 4; ++box) {
            QTest::newRow(qPrintable(QString::number(box))) << box;
        }
    }

    void cancelLeavesWhereAnEmptyOkGoesOn() {
        QFETCH(int, box);
        const QStringList valid{"1", "Ann Lee Smith", "ALS", "1"};
        GuiSession cancelled;
        cancelled.dialogs.cancelAtBox = box;
        QVERIFY(!cancelled.start(valid));
        QCOMPARE(cancelled.dialogs.prompts.size(), box + 1);
        QVERIFY(cancelled.dialogs.messages.isEmpty());
        QCOMPARE(cancelled.runEndings, 1);
        QVERIFY(cancelled.window().windowHandle() == nullptr);
        QVERIFY(!cancelled.fileExists(masterFile));

        GuiSession empty;
        QStringList withEmpty = valid;
        withEmpty[box] = QString();
        const bool started = empty.start(withEmpty);
        QCOMPARE(started, box == 1 || box == 2);
        QCOMPARE(empty.dialogs.prompts.size(), box == 0 ? 1 : 4);
    }

    // A campus drive that is not there: the general error message with the number, and below it
    // which folder is missing, as the student knows it and where it is on this machine.
    void aMissingCampusFolderIsNamedInTheErrorDetail() {
        GuiSession run;
        run.start({"2", "Ann Lee Smith", "ALS", "1"});
        QVERIFY(!run.dialogs.messages.isEmpty());
        QCOMPARE(run.dialogs.messages[0],
                 QString::fromStdString(drilbank::generalErrorMessage(76)));
        const QString detail = QString::fromStdString(
            drilbank::testing::withoutWrapMarks(drilbank::fromWidgetText(run.dialogs.details[0])));
        QVERIFY2(detail.contains("i:"), qPrintable(detail));
        QVERIFY2(
            detail.contains(QString::fromStdString(run.files().drives().root().string()) + "/i"),
            qPrintable(detail));
        QVERIFY(detail.contains("not there"));
        QVERIFY2(run.dialogs.advices[0].contains("connect the campus drive"),
                 qPrintable(run.dialogs.advices[0]));
    }

    // Every failure of a recording click says, below its detail, that the answer is still in
    // its box, what to fix for its class, and (but for a name that can never be recorded)
    // that the same button records it once; and it does.
    void eachFailureSaysWhatToDoNext_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("fix");
        QTest::newRow("name") << 52 << "type your name without";
        QTest::newRow("network") << 57 << "connect the campus drive or the network";
        QTest::newRow("disk full") << 61 << "Free some space";
        QTest::newRow("permission") << 70 << "for permission to write";
        QTest::newRow("not a file") << 75 << "Move or rename";
        QTest::newRow("not there") << 76 << "connect the campus drive";
        QTest::newRow("other") << 62 << "tell the instructor the error number";
    }

    void eachFailureSaysWhatToDoNext() {
        QFETCH(int, number);
        QFETCH(QString, fix);
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmdNextQuestion");
        typeText(run.window().answerBox(), QStringLiteral("my answer"));
        const std::string master = run.fileBytes(masterFile);
        run.faults.failingName = "masterFile_Ann_Lee_Smith.txt";
        run.faults.failureNumber = number;
        run.click("cmd_enter_response");

        QCOMPARE(run.dialogs.messages,
                 QStringList{QString::fromStdString(drilbank::generalErrorMessage(number))});
        const QString advice = run.dialogs.advices[0];
        QVERIFY2(advice.startsWith("What you typed is still in its box") && advice.contains(fix),
                 qPrintable(advice));
        QCOMPARE(advice.contains("click the same button again"), number != 52);
        QCOMPARE(run.window().answerBox().toPlainText(), QStringLiteral("my answer"));

        run.faults.failingName.clear();
        run.click("cmd_enter_response");
        const std::string gained = run.fileBytes(masterFile).substr(master.size());
        QCOMPARE(static_cast<int>(std::count(gained.begin(), gained.end(), '\n')), 10);
        QVERIFY(gained.find("my answer") != std::string::npos);
    }

    void inertControlsChangeNothing() {
        GuiSession run;
        QVERIFY(run.startShown());
        const std::string master = run.fileBytes(masterFile);
        for (const char* inert :
             {"cmd_timerTrigger", "cmd_Make_paragraph", "cmd_Make_Paragraph_question"}) {
            run.click(inert);
        }
        auto* parameter = qobject_cast<QLineEdit*>(run.window().control("txt_parameter", 2));
        typeText(*parameter, QStringLiteral("7"));
        QCOMPARE(parameter->text(), QStringLiteral("17"));
        QVERIFY(!run.window().pendulumTimer().isActive());
        QCOMPARE(run.window().questionBox().toPlainText(), QString());
        QCOMPARE(run.window().answerBox().toPlainText(), QStringLiteral(" "));
        QCOMPARE(run.fileBytes(masterFile), master);
        QVERIFY(run.dialogs.messages.isEmpty());
        QCOMPARE(run.runEndings, 0);
    }

    void closingTheWindowEndsTheRun() {
        GuiSession run;
        QVERIFY(run.startShown());
        run.click("cmd_pend_exp");
        run.window().close();
        QCOMPARE(run.runEndings, 1);
        QVERIFY(!run.window().isVisible());
        QVERIFY(run.dialogs.guardQuestions.isEmpty()); // nothing typed, nothing asked
        QVERIFY(!run.window().pendulumTimer().isActive());
        // No handler runs once the run is over.
        run.window().button("cmdNextQuestion").click();
        QCOMPARE(run.window().questionBox().toPlainText(), QString());
    }
};

QTEST_MAIN(SessionTest)
#include "SessionTest.moc"
