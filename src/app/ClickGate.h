#pragma once

#include <QHash>
#include <QObject>

class QAbstractButton;

namespace drilbank {

// One action per click: a press on a button that comes within the platform's double-click
// interval of the last press it let through on that same button is dropped, and so are the
// key presses that a held key repeats. A quick double click then does one thing, not two.
class ClickGate : public QObject {
    Q_OBJECT

public:
    explicit ClickGate(QObject* parent = nullptr);

    void guard(QAbstractButton& button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QObject*, quint64> lastPress_; // event time of the last press let through
};

} // namespace drilbank
