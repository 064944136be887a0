#pragma once

#include "ScriptedDialogs.h"
#include "app/DrillSession.h"
#include "support/FakePlatform.h"
#include "support/FaultInjectingFiles.h"
#include "support/TemporaryFolder.h"

#include <QStringList>

#include <memory>
#include <string>

namespace drilbank::testing {

// A whole run in the real window, with scripted dialogs, a clock that stands still at
// 04-16-2003 14:05:09, scripted random draws and record files under a temporary folder.
class GuiSession {
public:
    GuiSession();

    // Draws that make the coding number 19 and its key line nineteen characters of code 186.
    void scriptPlainKeyLine();
    // Answers the four start-up questions and runs the window's load.
    bool start(const QStringList& answers);
    // Starts as Ann Lee Smith on assignment 1 and shows the window, as the program does.
    bool startShown();

    DrillSession& session() { return *session_; }
    MainWindow& window() { return session_->window(); }
    void click(std::string_view button);

    RecordFiles& files() { return files_; }
    std::string fileBytes(const std::string& windowsPath) const;
    bool fileExists(const std::string& windowsPath) const;

    ScriptedDialogs dialogs;
    FaultInjectingFiles faults; // the real files; a fault on demand
    FakeClock clock;
    FakeRandom random;
    int runEndings = 0;

private:
    TemporaryFolder folder_;
    RecordFiles files_;
    std::unique_ptr<DrillSession> session_;
};

// Types text into a widget one key press per character, each carrying its own text, as a
// keyboard or input method delivers it; "\n" presses Return.
void typeText(QWidget& widget, const QString& text);

} // namespace drilbank::testing
