#include "app/platform/QtPlatform.h"

#include "app/MainWindow.h"
#include "app/PictureBox.h"
#include "app/platform/QtDialogProvider.h"
#include "app/platform/QtTextBoundary.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>

namespace drilbank {

QtPlatform::QtPlatform(MainWindow& window, Parts parts, std::function<void()> endRun)
    : window_(window), parts_(parts), endRun_(std::move(endRun)) {}

QtPlatform::~QtPlatform() = default;

QWidget* QtPlatform::dialogParent() const {
    // Before the window is first shown the boxes stand alone, centred on the screen.
    return window_.isVisible() ? &window_ : nullptr;
}

std::optional<std::string> QtPlatform::inputBox(const std::string& prompt) {
    const std::optional<QString> typed =
        parts_.dialogs.askText(dialogParent(), toWidgetText(prompt));
    if (!typed) {
        return std::nullopt;
    }
    return fromWidgetText(*typed);
}

void QtPlatform::messageBox(const std::string& text, const std::string& detail) {
    parts_.dialogs.showMessage(dialogParent(), toWidgetText(text), toWidgetText(detail));
}

bool QtPlatform::askToGoOn(const GuardQuestion& question) {
    return parts_.dialogs.askToGoOn(dialogParent(), toWidgetText(question.text),
                                    toWidgetText(question.safeChoice),
                                    toWidgetText(question.goOnChoice));
}

std::string QtPlatform::questionText() {
    return boxText(window_.questionBox());
}

void QtPlatform::setQuestionText(const std::string& text) {
    QPlainTextEdit& box = window_.questionBox();
    const QString shown = toWidgetText(text);
    // The plain text shows a no-break space as a blank; compare like with like.
    const QString before = box.toPlainText();
    const bool appended = QString(shown).replace(QChar::Nbsp, u' ').startsWith(before);
    // Text added at the end is scrolled into view from its start; a new text from its top.
    const qsizetype newTextStart = appended ? before.size() : 0;
    box.setPlainText(shown);
    QTextCursor cursor(box.document());
    cursor.movePosition(QTextCursor::End);
    box.setTextCursor(cursor);
    box.ensureCursorVisible();
    cursor.setPosition(static_cast<int>(newTextStart));
    box.setTextCursor(cursor);
    box.ensureCursorVisible();
}

std::string QtPlatform::answerText() {
    return boxText(window_.answerBox());
}

void QtPlatform::setAnswerText(const std::string& text) {
    setBoxText(window_.answerBox(), text);
}

void QtPlatform::setPictureScale(PictureArea area, float height, float width) {
    window_.picture(area).setScale(height, width);
}

void QtPlatform::putPictureOnClipboard(PictureArea area) {
    const QPixmap& picture = window_.picture(area).picture();
    emptyPictureCopied_ = picture.isNull();
    if (!emptyPictureCopied_) {
        QGuiApplication::clipboard()->setPixmap(picture);
    }
}

void QtPlatform::takePictureFromClipboard(PictureArea area) {
    if (emptyPictureCopied_) {
        window_.picture(area).setPicture(QPixmap());
        return;
    }
    window_.picture(area).setPicture(QGuiApplication::clipboard()->pixmap());
}

void QtPlatform::drawCircle(PictureArea area, float x, float y, float radius) {
    window_.picture(area).drawCircle(x, y, radius);
}

// A small framed note over the window. The handler that waits holds the window's thread, so
// the note is painted at once rather than when the event loop comes round again.
void QtPlatform::showWaitingNotice(const std::string& text) {
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

void QtPlatform::setTimerEnabled(bool enabled) {
    QTimer& timer = window_.pendulumTimer();
    // Starting a running timer again would restart its interval, not add a second one.
    if (enabled && !timer.isActive()) {
        timer.start();
    } else if (!enabled) {
        timer.stop();
    }
}

void QtPlatform::beep() {
    parts_.dialogs.beep();
}

void QtPlatform::endRun() {
    endRun_();
}

} // namespace drilbank
