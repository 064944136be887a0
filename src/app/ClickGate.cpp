#include "app/ClickGate.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>

namespace drilbank {

ClickGate::ClickGate(QObject* parent) : QObject(parent) {}

void ClickGate::guard(QAbstractButton& button) {
    button.installEventFilter(this);
    connect(&button, &QObject::destroyed, this, [this, &button] { rule_.forget(&button); });
}

bool ClickGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return !PressRule::keyCounts(static_cast<QKeyEvent*>(event)->isAutoRepeat());
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto interval =
            static_cast<std::uint64_t>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        return !rule_.pressCounts(watched, static_cast<QMouseEvent*>(event)->timestamp(), interval);
    }
    default:
        return false;
    }
}

} // namespace drilbank
