#pragma once

#include "app/ClickGate.h"
#include "app/MainWindow.h"
#include "app/WindowServices.h"
#include "run/Run.h"
#include "window/HandlerDispatcher.h"

#include <QObject>

namespace drilbank {

// One run of the program in its window: the window, the Qt platform over it, the run's
// state, and the wiring of every control's event to its handler.
class DrillSession : public QObject {
    Q_OBJECT

public:
    explicit DrillSession(WindowServices::Parts parts);

    // The window's load: the start-up dialogue and the assignment's headers. False when
    // the run ended during it; the window must then never be shown.
    bool load();

    // A log-off or shutdown. True when the session may end: the run has then ended, as
    // closing the window ends it. False, and the session must be refused, when the student
    // keeps the typed work, when typed work is at stake and the student may not be asked, or
    // while a handler waits in a box.
    bool endSession(bool studentMayBeAsked);

    MainWindow& window() { return window_; }
    Run& run() { return run_; }
    bool hasEnded() const { return dispatcher_.hasEnded(); }

signals:
    // The run is over: every channel is closed and no further handler will run.
    void runEnded();

private:
    void wireControls();
    void endRun();

    MainWindow window_;
    ClickGate clickGate_;
    WindowServices platform_;
    Run run_;
    HandlerDispatcher dispatcher_;
};

} // namespace drilbank
