#include "app/WindowServices.h"

#include "app/PictureBox.h"
#include "app/QtDialogProvider.h"
#include "app/QtTextBoundary.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

namespace drilbank {

PictureBox& WindowServices::picture(PictureArea area) const {
    return area == PictureArea::Picture1 ? widgets_.picture1 : widgets_.picture2;
}

WindowServices::WindowServices(Widgets widgets, Parts parts, std::function<void()> endRun)
    : widgets_(widgets), parts_(parts), endRun_(std::move(endRun)) {}

WindowServices::~WindowServices() = default;

QWidget* WindowServices::dialogParent() const {
    // Before the window is first shown the boxes stand alone, centred on the screen.
    return widgets_.window.isVisible() ? &widgets_.window : nullptr;
}

namespace {

// Long enough for the first box to be up and painted, well short of the time it is read.
constexpr int boxReadMs = 50;

// Does ahead what the window's first showing would: every control polished, the native window
// made, the whole form painted once off the screen (fonts, glyphs and the style's pictures
// loaded), so that the form is painted at once when the last box's answer comes.
void prepareToShow(QWidget& window) {
    if (window.isVisible()) {
        return;
    }
    try {
        window.ensurePolished();
        static_cast<void>(window.winId()); // the native window
        QPixmap offScreen(window.size());
        window.render(&offScreen);
    } catch (...) {
        // Work done ahead only: showing the window does it again.
    }
}

// How long a shown form may take to reach the screen before the start-up goes on without
// waiting for it: a window manager that never maps the window must not stop the run.
constexpr int exposeWaitMs = 500;

// Shows the window and comes back once it is on the screen and painted (Qt paints a window
// as it is exposed). Clicks and keys meanwhile are left for the event loop to deliver after
// the handler: none is taken before the start-up has written the headers.
void showPainted(QWidget& window) {
    window.show();
    QWindow* native = window.windowHandle();
    if (native == nullptr || native->isExposed()) {
        return;
    }
    QEventLoop waiting;
    class ExposeWatch : public QObject {
    public:
        explicit ExposeWatch(QEventLoop& loop) : loop_(loop) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Expose) {
                loop_.quit(); // after this event, and the painting it brings, is handled
            }
            return false;
        }

    private:
        QEventLoop& loop_;
    } watch(waiting);
    native->installEventFilter(&watch);
    QTimer::singleShot(exposeWaitMs, &waiting, &QEventLoop::quit);
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    native->removeEventFilter(&watch);
}

} // namespace

std::optional<std::string> WindowServices::inputBox(const std::string& prompt) {
    if (!windowPrepared_) {
        // The window is made ready while the student reads the first box.
        windowPrepared_ = true;
        QTimer::singleShot(boxReadMs, &widgets_.window,
                           [&window = widgets_.window] { prepareToShow(window); });
    }
    const std::optional<QString> typed =
        parts_.dialogs.askText(dialogParent(), toWidgetText(prompt));
    if (!typed) {
        return std::nullopt;
    }
    return fromWidgetText(*typed);
}

void WindowServices::messageBox(const std::string& text, const std::string& detail,
                                const std::string& advice) {
    parts_.dialogs.showMessage(dialogParent(), toWidgetText(text), toWidgetText(detail),
                               toWidgetText(advice));
}

bool WindowServices::askToGoOn(const GuardQuestion& question) {
    return parts_.dialogs.askToGoOn(dialogParent(), toWidgetText(question.text),
                                    toWidgetText(question.safeChoice),
                                    toWidgetText(question.goOnChoice));
}

std::string WindowServices::questionText() {
    return boxText(widgets_.questionBox);
}

void WindowServices::setQuestionText(const std::string& text, std::size_t inViewFrom) {
    QPlainTextEdit& box = widgets_.questionBox;
    setBoxText(box, text);
    // ensureCursorVisible scrolls no further than brings the cursor into view: the end
    // first, then the start of what is to be read, leaves as much after it in view as fits.
    QTextCursor cursor(box.document());
    cursor.movePosition(QTextCursor::End);
    box.setTextCursor(cursor);
    box.ensureCursorVisible();
    cursor.setPosition(
        static_cast<int>(toWidgetText(std::string_view(text).substr(0, inViewFrom)).size()));
    box.setTextCursor(cursor);
    box.ensureCursorVisible();
}

std::string WindowServices::answerText() {
    return boxText(widgets_.answerBox);
}

void WindowServices::setAnswerText(const std::string& text) {
    setBoxText(widgets_.answerBox, text);
}

void WindowServices::focusAnswerBox(AnswerCaret caret) {
    QPlainTextEdit& box = widgets_.answerBox;
    QTextCursor cursor(box.document());
    if (caret == AnswerCaret::SelectAll) {
        cursor.select(QTextCursor::Document);
    } else {
        cursor.movePosition(QTextCursor::End);
    }
    box.setTextCursor(cursor);
    box.setFocus(Qt::OtherFocusReason);
}

void WindowServices::setPictureScale(PictureArea area, float height, float width) {
    picture(area).setScale(height, width);
}

void WindowServices::putPictureOnClipboard(PictureArea area) {
    const QPixmap& copied = picture(area).picture();
    emptyPictureCopied_ = copied.isNull();
    if (!emptyPictureCopied_) {
        QGuiApplication::clipboard()->setPixmap(copied);
    }
}

void WindowServices::takePictureFromClipboard(PictureArea area) {
    if (emptyPictureCopied_) {
        picture(area).setPicture(QPixmap());
        return;
    }
    picture(area).setPicture(QGuiApplication::clipboard()->pixmap());
}

void WindowServices::drawCircle(PictureArea area, float x, float y, float radius) {
    picture(area).drawCircle(x, y, radius);
}

void WindowServices::showForm() {
    try {
        showPainted(widgets_.window);
    } catch (...) {
        // The window shows itself when the start-up is over.
    }
}

// A small framed note over the window. The handler that waits holds the window's thread, so
// the note is painted at once rather than when the event loop comes round again.
void WindowServices::showWaitingNotice(const std::string& text) {
    if (text.empty()) {
        if (waitingNotice_) {
            waitingNotice_->hide();
        }
        return;
    }
    if (!waitingNotice_) {
        waitingNotice_ = std::make_unique<QLabel>(
            dialogParent(), Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        waitingNotice_->setFrameStyle(QFrame::Box | QFrame::Plain);
        waitingNotice_->setMargin(12);
        waitingNotice_->setWordWrap(true);
        waitingNotice_->setMaximumWidth(360);
    }
    waitingNotice_->setText(toWidgetText(text));
    waitingNotice_->adjustSize();
    const QWidget* over = dialogParent();
    const QPoint centre = over != nullptr ? over->geometry().center()
                                          : waitingNotice_->screen()->availableGeometry().center();
    waitingNotice_->move(centre - waitingNotice_->rect().center());
    waitingNotice_->show();
    waitingNotice_->raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    waitingNotice_->repaint();
}

void WindowServices::setTimerEnabled(bool enabled) {
    QTimer& timer = widgets_.timer;
    // Starting a running timer again would restart its interval, not add a second one.
    if (enabled && !timer.isActive()) {
        timer.start();
    } else if (!enabled) {
        timer.stop();
    }
}

void WindowServices::beep() {
    parts_.dialogs.beep();
}

void WindowServices::endRun() {
    endRun_();
}

} // namespace drilbank
