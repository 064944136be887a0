#include "app/DrillSession.h"
#include "app/ProgramExit.h"
#include "app/QtModalDialogs.h"
#include "files/DriveMap.h"
#include "files/RecordFiles.h"
#include "os/RunRandom.h"
#include "os/SystemClock.h"
#include "texts/CommandLineTexts.h"
#include "texts/FailureTexts.h"
#include "texts/StudentTexts.h"
#include "window/CommandLine.h"

#include <QApplication>
#include <QMessageBox>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

bool platformChosen(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            return true;
        }
    }
    return isSet("QT_QPA_PLATFORM");
}

// Without a display the toolkit stops with a plugin error that tells a student nothing;
// one line says what is missing and what to do instead.
[[noreturn]] void stopForWantOfDisplay(const std::string& why) {
    std::fputs(drilbank::noDisplayText(why).c_str(), stderr);
    std::_Exit(EXIT_FAILURE);
}

// The toolkit's own options, each followed by its value; the toolkit takes them off the
// command line itself.
constexpr std::array<std::string_view, 11> qtOptionsWithValues{
    "-platform",   "-platformpluginpath", "-platformtheme", "-plugin",          "-display",
    "-style",      "-stylesheet",         "-session",       "-qwindowgeometry", "-qwindowtitle",
    "-qwindowicon"};

QtMessageHandler toolkitMessages = nullptr;

// Used only while the application connects to the display: a display that is named but
// cannot be reached is fatal there, and its plugin warnings would only confuse.
void connectingMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const char* display = std::getenv("DISPLAY");
        stopForWantOfDisplay(drilbank::displayUnreachableText(display != nullptr ? display : ""));
    }
    if (context.category != nullptr && std::strncmp(context.category, "qt.qpa.", 7) == 0) {
        return;
    }
    if (toolkitMessages != nullptr) {
        toolkitMessages(type, context, message);
    }
}

// The fault that ended start-up or the run, said in a box and on standard error; a box that
// cannot be shown leaves the line on standard error alone.
void showFault(const QString& text) {
    std::fprintf(stderr, "drilbank: %s\n", text.toLocal8Bit().constData());
    try {
        QMessageBox::critical(nullptr, QString::fromLatin1(drilbank::boxTitle), text);
    } catch (...) {
    }
}

int runProgram(QApplication& application) {
    std::optional<drilbank::DriveMap> drives;
    try {
        drives = drilbank::DriveMap::fromEnvironment();
    } catch (const std::invalid_argument& wrongDrives) {
        // Said before any box, so that no record goes to a folder nobody meant.
        showFault(QString::fromUtf8(wrongDrives.what()));
        return 2;
    }
    drilbank::QtModalDialogs dialogs;
    drilbank::RecordFiles files(*drives);
    drilbank::SystemClock clock;
    drilbank::RunRandom random;
    drilbank::DrillSession session({dialogs, files, clock, random});
    QObject::connect(&session, &drilbank::DrillSession::runEnded, &application,
                     [] { drilbank::leaveProgram(); });

    if (!session.load()) {
        drilbank::leaveProgram();
    }
    // Shown as the last box closed, unless a failure came first.
    session.window().show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status =
            drilbank::answerCommandLine(argc, argv, qtOptionsWithValues)) {
        return *status;
    }
    if (!platformChosen(argc, argv) && !isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        stopForWantOfDisplay(drilbank::noDisplaySetText);
    }
    toolkitMessages = qInstallMessageHandler(connectingMessages);
    QApplication application(argc, argv);
    qInstallMessageHandler(toolkitMessages);
    QApplication::setApplicationName(QStringLiteral("drilbank"));
    QGuiApplication::setDesktopFileName(QStringLiteral("drilbank"));
    // The start-up boxes come before the window; they carry its icon too.
    QApplication::setWindowIcon(drilbank::MainWindow::programIcon());
    // Every handler catches what it meets; this is for what comes before or between them,
    // such as memory running out while the window is built.
    try {
        return runProgram(application);
    } catch (const std::exception& fault) {
        showFault(QString::fromUtf8(drilbank::unexpectedFaultDetail(fault.what())));
    } catch (...) {
        showFault(QString::fromLatin1(drilbank::unknownFaultDetail));
    }
    return 1;
}
