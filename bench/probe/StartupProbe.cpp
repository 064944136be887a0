// One start-up on Qt's offscreen platform, for the start-up benchmark to time and weigh:
//   drilbank_startup_probe bare      an application and one empty window, shown and closed,
//                                    and two header-sized blocks appended and flushed;
//   drilbank_startup_probe text      the same with one line of text in the window, which
//                                    makes Qt load the system's font configuration;
//   drilbank_startup_probe form      the same with the window's controls as stock widgets
//                                    (BareForm.h) and the blocks written through a log:
//                                    the floor of the whole start-up;
//   drilbank_startup_probe drilbank  the whole program's start-up with scripted answers:
//                                    dialogue, positioning, headers to real files, window shown;
//   drilbank_startup_probe read MS   the program's start-up with its own boxes, each answered
//                                    after MS ms of reading; prints the ms from the last box's
//                                    OK to the form painted;
//   drilbank_startup_probe first-box the program's start until its first input box is up;
//   drilbank_startup_probe bare-box  an application that shows one input box;
//   drilbank_startup_probe quit      a started run ended by "quit program", as the program ends;
//   drilbank_startup_probe bare-quit an application whose one window is closed;
//                                    both quits print the steady-clock moment of the click (ms);
//   drilbank_startup_probe notes N   ten presses of "display notes" on a notes file of N bytes;
//                                    prints the slowest press and the time to read the file (ms).
// Record files go under $DRILBANK_DRIVES.
#include "BenchRun.h"
#include "Probe.h"
#include "ScriptedDialogs.h"
#include "app/DrillSession.h"
#include "app/ProgramExit.h"
#include "app/QtModalDialogs.h"
#include "files/DriveMap.h"
#include "os/RunRandom.h"
#include "os/SystemClock.h"
#include "probe/BareForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

enum class Floor { Empty, Text, Form };

int bareStartUp(Floor floor) {
    QWidget window;
    window.resize(725, 573);
    if (floor == Floor::Text) {
        new QLabel(QStringLiteral("drilbank"), &window);
    } else if (floor == Floor::Form) {
        drilbank::bench::buildBareForm(window);
    }
    window.show();
    QCoreApplication::processEvents();
    const std::filesystem::path folder =
        drilbank::DriveMap::fromEnvironment().root() / "c" / "floor";
    std::filesystem::create_directories(folder);
    const std::string headerBlock(160, 'h');
    // The form's floor writes the headers as any write that must reach both files or
    // neither: written ahead into a log and flushed, each appended and flushed, the log
    // emptied, as the recording clicks' floor does.
    const bool logged = floor == Floor::Form;
    if (logged) {
        drilbank::bench::appendAndFlush(folder / "floor.log", headerBlock + headerBlock);
    }
    drilbank::bench::appendAndFlush(folder / "master.txt", headerBlock);
    drilbank::bench::appendAndFlush(folder / "send.txt", headerBlock);
    if (logged) {
        std::filesystem::resize_file(folder / "floor.log", 0);
    }
    window.close();
    return 0;
}

// Ends the process as soon as an input box has been shown and its first events handled.
class FirstBoxWatch : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QInputDialog*>(watched) != nullptr) {
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return false;
    }
};

int firstBox(bool bare) {
    FirstBoxWatch watch;
    qApp->installEventFilter(&watch);
    if (bare) {
        QInputDialog::getText(nullptr, QStringLiteral("drilbank"), QStringLiteral("Assignment"));
        return 1;
    }
    drilbank::QtModalDialogs dialogs;
    drilbank::RecordFiles files(drilbank::DriveMap::fromEnvironment());
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session({dialogs, files, clock, random});
    session.load();
    return 1;
}

// Answers each start-up box once it has been read for a while, and notes when the last
// answer's OK is pressed.
class ReadingStudent : public QObject {
public:
    explicit ReadingStudent(int readingMs) : readingMs_(readingMs) {}

    double lastOk = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QInputDialog*>(watched);
        if (box != nullptr && event->type() == QEvent::Show && !answers_.isEmpty()) {
            QTimer::singleShot(readingMs_, box, [this, box, answer = answers_.takeFirst()] {
                box->setTextValue(answer);
                lastOk = drilbank::bench::steadyMilliseconds();
                box->accept();
            });
        }
        return false;
    }

private:
    int readingMs_;
    QStringList answers_{"1", "Bea Bench", "BB", "1"};
};

// Notes when the window first paints on the screen after the last box's OK (the painting
// done ahead, off the screen, is not counted).
class PaintWatch : public QObject {
public:
    PaintWatch(QWidget& window, const double& lastOk) : window_(window), lastOk_(lastOk) {}

    double paintedAt = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr && lastOk_ != 0 && paintedAt == 0 &&
            window_.isVisible() && (widget == &window_ || window_.isAncestorOf(widget))) {
            paintedAt = drilbank::bench::steadyMilliseconds();
        }
        return false;
    }

private:
    QWidget& window_;
    const double& lastOk_;
};

int formAfterReading(int readingMs) {
    ReadingStudent student(readingMs);
    qApp->installEventFilter(&student);
    drilbank::QtModalDialogs dialogs;
    drilbank::RecordFiles files(drilbank::DriveMap::fromEnvironment());
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session({dialogs, files, clock, random});
    // The form is painted as the last box closes, inside the start-up.
    PaintWatch watch(session.window(), student.lastOk);
    qApp->installEventFilter(&watch);
    if (!session.load()) {
        return 1;
    }
    session.window().show();
    while (watch.paintedAt == 0) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    std::printf("%.3f\n", watch.paintedAt - student.lastOk);
    return 0;
}

void printMoment() {
    std::printf("%.3f\n", drilbank::bench::steadyMilliseconds());
    std::fflush(stdout);
}

int bareQuit() {
    QWidget window;
    window.resize(725, 573);
    window.show();
    QCoreApplication::processEvents();
    printMoment();
    window.close();
    return 0;
}

struct ShownSession {
    ShownSession() : files(drilbank::DriveMap::fromEnvironment()) {
        dialogs.answers = {"1", "Bea Bench", "BB", "1"};
        ok = session.load();
        session.window().show();
        QCoreApplication::processEvents();
    }
    drilbank::testing::ScriptedDialogs dialogs;
    drilbank::RecordFiles files;
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session{{dialogs, files, clock, random}};
    bool ok = false;
};

int quitAsTheProgramDoes() {
    ShownSession shown;
    QObject::connect(&shown.session, &drilbank::DrillSession::runEnded,
                     [] { drilbank::leaveProgram(); });
    printMoment();
    shown.session.window().button("cmd_quit").click();
    return 1; // the click must have ended the process
}

int pressDisplayNotes(std::size_t bytes) {
    ShownSession shown;
    const std::filesystem::path notes =
        shown.files.drives().toLocal(shown.session.run().state.notesFilePath);
    drilbank::bench::growFile(notes, bytes);
    const double readStart = drilbank::bench::steadyMilliseconds();
    const std::size_t read = drilbank::bench::readWhole(notes).size();
    const double readTime = drilbank::bench::steadyMilliseconds() - readStart;
    double slowest = 0;
    for (int press = 0; press < 10; ++press) {
        const double start = drilbank::bench::steadyMilliseconds();
        shown.session.window().button("cmd_display_note_file").click();
        QCoreApplication::processEvents();
        shown.session.window().repaint();
        slowest = std::max(slowest, drilbank::bench::steadyMilliseconds() - start);
    }
    std::printf("%.3f %.3f\n", slowest, readTime);
    return read >= bytes && shown.ok && shown.dialogs.messages.isEmpty() ? 0 : 1;
}

int drilbankStartUp() {
    drilbank::testing::ScriptedDialogs dialogs;
    dialogs.answers = {"1", "Bea Bench", "BB", "1"};
    drilbank::RecordFiles files(drilbank::DriveMap::fromEnvironment());
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session({dialogs, files, clock, random});
    if (!session.load() || !dialogs.messages.isEmpty()) {
        return 1;
    }
    session.window().show();
    QCoreApplication::processEvents();
    session.window().close();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: drilbank_startup_probe bare|text|form|drilbank|read MS|"
                             "first-box|bare-box|quit|bare-quit|notes BYTES\n");
        return 2;
    }
    QApplication application(argc, argv);
    const std::string mode = argv[1];
    if (mode == "drilbank") {
        return drilbankStartUp();
    }
    if (mode == "first-box" || mode == "bare-box") {
        return firstBox(mode == "bare-box");
    }
    if (mode == "quit") {
        return quitAsTheProgramDoes();
    }
    if (mode == "bare-quit") {
        return bareQuit();
    }
    if (mode == "notes" && argc == 3) {
        return pressDisplayNotes(std::stoull(argv[2]));
    }
    if (mode == "read" && argc == 3) {
        return formAfterReading(std::stoi(argv[2]));
    }
    return bareStartUp(mode == "text" ? Floor::Text : mode == "form" ? Floor::Form : Floor::Empty);
}
