#include "app/DrillSession.h"

#include <QAbstractButton>

namespace drilbank {
namespace {

WindowServices::Widgets widgetsOf(MainWindow& window) {
    return {window,
            window.questionBox(),
            window.answerBox(),
            window.picture(PictureArea::Picture1),
            window.picture(PictureArea::Picture2),
            window.pendulumTimer()};
}

} // namespace

DrillSession::DrillSession(WindowServices::Parts parts)
    : platform_(widgetsOf(window_), parts, [this] { endRun(); }), run_(platform_),
      dispatcher_(run_) {
    wireControls();
}

void DrillSession::wireControls() {
    for (const ButtonHandler& wiring : buttonHandlers()) {
        QAbstractButton& button = window_.button(wiring.button);
        clickGate_.guard(button);
        connect(&button, &QAbstractButton::clicked, this,
                [this, handler = wiring.handler] { dispatcher_.dispatch(handler); });
    }
    connect(&window_.pendulumTimer(), &QTimer::timeout, this,
            [this] { dispatcher_.dispatch(&timerTicked); });
    connect(&window_, &MainWindow::closeRequested, this,
            [this] { dispatcher_.dispatch(&closeWindow); });
}

bool DrillSession::load() {
    dispatcher_.dispatch(&loadWindow);
    return !dispatcher_.hasEnded();
}

void DrillSession::endRun() {
    window_.pendulumTimer().stop();
    window_.hide();
    emit runEnded();
}

} // namespace drilbank
