#pragma once

#include "app/ControlTable.h"
#include "platform/PlatformServices.h"

#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QAbstractButton;

namespace drilbank {

class PictureBox;

// The program's one window, built from the control table. It knows its controls and
// nothing of the run: the session wires their events to the handlers.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    // A control by its name and, for a member of a control array, its index.
    QWidget* control(std::string_view name, int index = noIndex) const;
    QAbstractButton& button(std::string_view name) const;

    QPlainTextEdit& questionBox() const { return *questionBox_; }
    QPlainTextEdit& answerBox() const { return *answerBox_; }
    PictureBox& picture(PictureArea area) const;
    QTimer& pendulumTimer() const { return *pendulumTimer_; }

signals:
    // The window system's close control was used.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControl(const ControlRow& row);
    void orderTabs();

    QTimer* pendulumTimer_;
    QPlainTextEdit* questionBox_ = nullptr;
    QPlainTextEdit* answerBox_ = nullptr;
    PictureBox* picture1_ = nullptr;
    PictureBox* picture2_ = nullptr;
};

} // namespace drilbank
