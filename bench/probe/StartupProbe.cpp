// One start-up on Qt's offscreen platform, for the start-up benchmark to time and weigh:
//   drilbank_startup_probe bare      an application and one empty window, shown and closed,
//                                    and two header-sized blocks appended and flushed;
//   drilbank_startup_probe text      the same with one line of text in the window, which
//                                    makes Qt load the system's font configuration;
//   drilbank_startup_probe drilbank  the whole program's start-up with scripted answers:
//                                    dialogue, positioning, headers to real files, window shown.
// Record files go under $DRILBANK_DRIVES.
#include "BenchRun.h"
#include "ScriptedDialogs.h"
#include "app/DrillSession.h"
#include "platform/DriveMap.h"
#include "platform/RunRandom.h"
#include "platform/SystemClock.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

int bareStartUp(bool withText) {
    QWidget window;
    window.resize(725, 573);
    if (withText) {
        new QLabel(QStringLiteral("drilbank"), &window);
    }
    window.show();
    QCoreApplication::processEvents();
    const std::filesystem::path folder =
        drilbank::DriveMap::fromEnvironment().root() / "c" / "floor";
    std::filesystem::create_directories(folder);
    const std::string headerBlock(160, 'h');
    drilbank::bench::appendAndFlush(folder / "master.txt", headerBlock);
    drilbank::bench::appendAndFlush(folder / "send.txt", headerBlock);
    window.close();
    return 0;
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
    if (argc != 2) {
        std::fprintf(stderr, "usage: drilbank_startup_probe bare|text|drilbank\n");
        return 2;
    }
    QApplication application(argc, argv);
    if (std::strcmp(argv[1], "drilbank") == 0) {
        return drilbankStartUp();
    }
    return bareStartUp(std::strcmp(argv[1], "text") == 0);
}
