#pragma once

#include "run/PlatformServices.h"
#include "window/ControlTable.h"

#include <QIcon>
#include <QTimer>
#include <QWidget>

class QPlainTextEdit;
class QAbstractButton;
class QScrollArea;

namespace drilbank {

class PictureBox;

// The program's one window, built from the control table on a form of its designed size.
// It knows its controls and nothing of the run: the session wires their events to the
// handlers.
class MainWindow : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    // The program's own icon, drawn from the SVG in the tree.
    static QIcon programIcon();

    // A control by its name and, for a member of a control array, its index.
    QWidget* control(std::string_view name, int index = noIndex) const;
    QAbstractButton& button(std::string_view name) const;

    QPlainTextEdit& questionBox() const { return *questionBox_; }
    QPlainTextEdit& answerBox() const { return *answerBox_; }
    PictureBox& picture(PictureArea area) const;
    QTimer& pendulumTimer() const { return *pendulumTimer_; }

    // The surface that holds every control at its place, at the window's designed size.
    QWidget& form() const { return *form_; }
    QScrollArea& scroller() const { return *scroller_; }

    // Keeps the window at its designed size where that fits the screen's free area, and
    // otherwise shrinks it to that area; the form then scrolls, so every control stays
    // reachable. Called with the screen's free area when the window is first shown.
    void fitInto(const QRect& available);

signals:
    // The window system's close control was used.
    void closeRequested();

protected:
    // The session decides whether the window closes: an unrecorded answer may be kept.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControl(const ControlRow& row);
    void orderTabs();

    QTimer* pendulumTimer_;
    QScrollArea* scroller_;
    QWidget* form_;
    bool fitted_ = false;
    QPlainTextEdit* questionBox_ = nullptr;
    QPlainTextEdit* answerBox_ = nullptr;
    PictureBox* picture1_ = nullptr;
    PictureBox* picture2_ = nullptr;
};

} // namespace drilbank
