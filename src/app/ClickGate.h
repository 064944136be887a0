#pragma once

#include "window/PressRule.h"

#include <QObject>

class QAbstractButton;

namespace drilbank {

// Holds the Qt window's buttons to one action per click: their presses and key presses go
// through the core's press rule with the platform's double-click interval.
class ClickGate : public QObject {
    Q_OBJECT

public:
    explicit ClickGate(QObject* parent = nullptr);

    void guard(QAbstractButton& button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PressRule rule_;
};

} // namespace drilbank
