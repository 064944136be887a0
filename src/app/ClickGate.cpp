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
    connect(&button, &QObject::destroyed, this, [this, &button] { lastPress_.remove(&button); });
}

bool ClickGate::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return static_cast<QKeyEvent*>(event)->isAutoRepeat();
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const quint64 at = static_cast<QMouseEvent*>(event)->timestamp();
        const auto interval =
            static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const auto last = lastPress_.constFind(watched);
        if (last != lastPress_.constEnd() && at >= *last && at - *last < interval) {
            return true;
        }
        lastPress_.insert(watched, at);
        return false;
    }
    default:
        return false;
    }
}

} // namespace drilbank
