// The question box shows new text where the student sees it, and stays quick and small
// whatever the size of the notes file.
#include "GuiSession.h"

#include "record/ReviewDisplays.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

#include <sys/resource.h>

#include <filesystem>
#include <fstream>

using drilbank::testing::GuiSession;

namespace {

const std::string notesFile = "c:\\drilbank\\notes_Ann_Lee_Smith.txt";

// Whether the character at a position of the box lies within its visible part.
bool isInView(QPlainTextEdit& box, int position) {
    QTextCursor cursor(box.document());
    cursor.setPosition(position);
    return box.viewport()->rect().contains(box.cursorRect(cursor).center());
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

class QuestionBoxTest : public QObject {
    Q_OBJECT

private slots:
    // After each action what the student is to read is in view: a new question from its
    // start, the notes up to their end (the newest), the transcript from its top.
    void newTextIsScrolledIntoView() {
        GuiSession run;
        QVERIFY(run.startShown());
        QPlainTextEdit& box = run.window().questionBox();
        std::string notes;
        for (int line = 0; line < 300; ++line) {
            notes += "an earlier note that fills the box " + std::to_string(line) + "\r\n";
        }
        std::ofstream(run.files().drives().toLocal(notesFile), std::ios::binary) << notes;
        for (const char* button :
             {"cmdNextQuestion", "cmd_display_note_file", "cmdNextQuestion",
              "cmd_displayCumulativeText", "cmd_display_note_file", "cmdNextQuestion"}) {
            const std::string_view name = button;
            const int before = box.document()->characterCount() - 1;
            run.click(button);
            const int end = box.document()->characterCount() - 1;
            const int read = name == "cmd_displayCumulativeText" ? 0
                             : name == "cmd_display_note_file"   ? end
                                                                 : before;
            QVERIFY2(isInView(box, read), button);
        }
        QVERIFY(box.verticalScrollBar()->value() > 0);
    }

    // A notes file of a gigabyte: two presses, the newest note shown, memory hardly grows.
    void aGigabyteNotesFileStaysBoundedAndIntact() {
        GuiSession run;
        QVERIFY(run.startShown());
        const std::filesystem::path notes = run.files().drives().toLocal(notesFile);
        { std::ofstream(notes, std::ios::binary) << "the oldest note\r\n"; }
        std::filesystem::resize_file(notes, std::uintmax_t(1) << 30);
        std::ofstream(notes, std::ios::binary | std::ios::app) << "\r\nthe newest note";
        const std::uintmax_t size = std::filesystem::file_size(notes);
        const long peakBefore = peakKilobytes();
        for (int press = 0; press < 2; ++press) {
            run.click("cmd_display_note_file");
        }
        const QString shown = run.window().questionBox().toPlainText();
        QVERIFY(shown.endsWith("the newest note"));
        QVERIFY(shown.contains("[Older notes are not shown here."));
        QVERIFY(static_cast<std::size_t>(shown.size()) <= drilbank::questionBoxBytes + 400);
        QVERIFY2(peakKilobytes() - peakBefore < 64 * 1024,
                 qPrintable(QString::number(peakKilobytes() - peakBefore)));
        QCOMPARE(std::filesystem::file_size(notes), size);
        QVERIFY(run.dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(QuestionBoxTest)
#include "QuestionBoxTest.moc"
