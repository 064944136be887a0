#pragma once

#include "run/PlatformServices.h"

#include <functional>
#include <memory>

class QLabel;
class QPlainTextEdit;
class QTimer;
class QWidget;

namespace drilbank {

class PictureBox;
class QtDialogProvider;

// The platform services over the Qt window: its boxes, picture areas and timer, the system
// clipboard, and dialogs and beeps through a provider that tests can replace.
class WindowServices final : public PlatformServices {
public:
    // The widgets the services read and change; the window owns them.
    struct Widgets {
        QWidget& window;
        QPlainTextEdit& questionBox;
        QPlainTextEdit& answerBox;
        PictureBox& picture1;
        PictureBox& picture2;
        QTimer& timer;
    };

    // What the platform uses besides the window; each is owned by whoever starts the run.
    struct Parts {
        QtDialogProvider& dialogs;
        RecordFiles& files;
        Clock& clock;
        RandomSource& random;
    };

    WindowServices(Widgets widgets, Parts parts, std::function<void()> endRun);
    ~WindowServices() override;

    std::optional<std::string> inputBox(const std::string& prompt) override;
    void messageBox(const std::string& text, const std::string& detail = {},
                    const std::string& advice = {}) override;
    bool askToGoOn(const GuardQuestion& question) override;

    RecordFiles& files() override { return parts_.files; }
    Clock& clock() override { return parts_.clock; }
    RandomSource& random() override { return parts_.random; }

    std::string questionText() override;
    void setQuestionText(const std::string& text, std::size_t inViewFrom) override;
    std::string answerText() override;
    void setAnswerText(const std::string& text) override;
    void focusAnswerBox(AnswerCaret caret) override;

    void setPictureScale(PictureArea area, float height, float width) override;
    void putPictureOnClipboard(PictureArea area) override;
    void takePictureFromClipboard(PictureArea area) override;
    void drawCircle(PictureArea area, float x, float y, float radius) override;

    void showWaitingNotice(const std::string& text) override;
    void showForm() override;
    void setTimerEnabled(bool enabled) override;
    void beep() override;
    void endRun() override;

private:
    QWidget* dialogParent() const;
    PictureBox& picture(PictureArea area) const;

    Widgets widgets_;
    Parts parts_;
    std::function<void()> endRun_;
    std::unique_ptr<QLabel> waitingNotice_;
    // An empty picture is never put on the clipboard, which keeps whatever the user copied
    // there; taking it back then gives the empty picture.
    bool emptyPictureCopied_ = false;
    bool windowPrepared_ = false;
};

} // namespace drilbank
