#include "app/DrillSession.h"
#include "platform/DriveMap.h"
#include "platform/QtModalDialogs.h"
#include "platform/RecordFiles.h"
#include "platform/RunRandom.h"
#include "platform/SystemClock.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Without a display the toolkit would stop with a plugin error that tells a student
// nothing; say what is missing instead.
bool displayAvailable(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return true;
        }
    }
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char** argv) {
    if (!displayAvailable(argc, argv)) {
        std::fputs("drilbank needs a graphical display and found none (DISPLAY is not set); "
                   "to run it without one, use Xvfb: xvfb-run -a drilbank\n",
                   stderr);
        return EXIT_FAILURE;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("drilbank"));
    QGuiApplication::setDesktopFileName(QStringLiteral("drilbank"));

    drilbank::QtModalDialogs dialogs;
    drilbank::RecordFiles files(drilbank::DriveMap::fromEnvironment());
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session({dialogs, files, clock, random});
    QObject::connect(&session, &drilbank::DrillSession::runEnded, &application,
                     [] { QCoreApplication::exit(EXIT_SUCCESS); });

    if (!session.load()) {
        return EXIT_SUCCESS;
    }
    session.window().show();
    return QApplication::exec();
}
