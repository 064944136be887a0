#include "app/DrillSession.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QSessionManager>

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
    // Without an answer here the session would end the program, and typed work with it.
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager& manager) {
                    const bool mayAsk = manager.allowsInteraction();
                    const bool mayEnd = endSession(mayAsk);
                    if (mayAsk) {
                        manager.release();
                    }
                    if (!mayEnd) {
                        manager.cancel();
                    }
                });
    }
}

bool DrillSession::endSession(bool studentMayBeAsked) {
    dispatcher_.dispatch(studentMayBeAsked ? &closeWindow : &sessionEndWithoutAsking);
    return dispatcher_.hasEnded();
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
