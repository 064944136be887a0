#pragma once

#include <QPushButton>

namespace drilbank {

// A push button whose caption wraps onto several lines, as the narrow buttons of the
// window need ("Next Question / Answer" in a button 65 pixels wide).
class WrappingButton : public QPushButton {
    Q_OBJECT

public:
    WrappingButton(const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace drilbank
