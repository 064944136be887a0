#pragma once

#include "app/ClickGate.h"
#include "app/MainWindow.h"
#include "app/platform/QtPlatform.h"
#include "run/Handler.h"
#include "run/Run.h"

#include <QObject>

namespace drilbank {

// One run of the program in its window: the window, the Qt platform over it, the run's
// state, and the wiring of every control's event to its handler.
class DrillSession : public QObject {
    Q_OBJECT

public:
    explicit DrillSession(QtPlatform::Parts parts);

    // The window's load: the start-up dialogue and the assignment's headers. False when
    // the run ended during it; the window must then never be shown.
    bool load();

    MainWindow& window() { return window_; }
    Run& run() { return run_; }
    bool hasEnded() const { return ended_; }

signals:
    // The run is over: every channel is closed and no further handler will run.
    void runEnded();

private:
    void wireControls();
    void dispatch(HandlerFunction handler);
    void endRun();

    MainWindow window_;
    ClickGate clickGate_;
    QtPlatform platform_;
    Run run_;
    bool ended_ = false;
    bool handling_ = false;
};

} // namespace drilbank
