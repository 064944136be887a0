#pragma once

#include "run/PlatformServices.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace drilbank {

class FormWindow;
class WaitingNotice;

// The platform services over the Win32 window: its boxes, its controls, its picture
// areas, the clipboard and the beep; files, clock and random source as given.
class Win32Platform final : public PlatformServices {
public:
    struct Parts {
        RecordFiles& files;
        Clock& clock;
        RandomSource& random;
        // The timer's sound; the system's own unless a test listens for it.
        void (*beep)() = [] { MessageBeep(MB_OK); };
    };

    Win32Platform(FormWindow& window, Parts parts, std::function<void()> endRun);
    ~Win32Platform() override;

    std::optional<std::string> inputBox(const std::string& prompt) override;
    void messageBox(const std::string& text, const std::string& detail,
                    const std::string& advice) override;
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

    // A notice, asking nothing, up while the program waits for something outside it; the
    // empty text takes it down. On the screen when this returns.
    void showWaitingNotice(const std::string& text) override;

    void showForm() override;
    void setTimerEnabled(bool enabled) override;
    void beep() override;
    void endRun() override;

private:
    HWND dialogOwner() const;

    FormWindow& window_;
    Parts parts_;
    std::function<void()> endRun_;
    bool emptyPictureCopied_ = false;
    std::unique_ptr<WaitingNotice> notice_;
};

} // namespace drilbank
