#pragma once

#include "files/RecordFiles.h"
#include "os/Clock.h"
#include "os/RandomSource.h"

#include <optional>
#include <string>

namespace drilbank {

enum class PictureArea { Picture1, Picture2 };

enum class AnswerCaret { SelectAll, AtEnd };

// What a guard question asks before typed work would be lost, and the captions of its two
// buttons: the safe one keeps the work, the other goes on and loses it.
struct GuardQuestion {
    std::string text;
    std::string safeChoice;
    std::string goOnChoice;
};

// Everything the program's logic needs from the outside world. Text crosses this
// interface as Windows-1252 bytes with CR LF line breaks, exactly as the record files hold it.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // Modal boxes with the program's own title. An input box gives the typed text on OK
    // (the empty text for an empty box) and nothing on Cancel or close. A message box has
    // an OK button only and no icon; a detail (what failed), when given, stands below the
    // text in the same box, and below that the advice (what to do next).
    virtual std::optional<std::string> inputBox(const std::string& prompt) = 0;
    virtual void messageBox(const std::string& text, const std::string& detail = {},
                            const std::string& advice = {}) = 0;

    // A question with two choices. The safe choice is the default button and what Escape
    // and closing the box give; the result is true only when the other choice was taken.
    virtual bool askToGoOn(const GuardQuestion& question) = 0;

    // Numbered text channels and directory creation, over real files.
    virtual RecordFiles& files() = 0;
    virtual Clock& clock() = 0;
    virtual RandomSource& random() = 0;

    // The question box and the answer box, read and replaced whole. The question box is then
    // scrolled so that its end is in view and then the character at byte inViewFrom of the
    // text, which thus shows from there as much as fits; text.size() shows the end alone.
    virtual std::string questionText() = 0;
    virtual void setQuestionText(const std::string& text, std::size_t inViewFrom) = 0;
    virtual std::string answerText() = 0;
    virtual void setAnswerText(const std::string& text) = 0;

    // Puts the keyboard focus in the answer box: with its whole text selected, so that the
    // first key typed replaces it, or with the caret at the end of its text.
    virtual void focusAnswerBox(AnswerCaret caret) = 0;

    // Picture areas: user scale, the clipboard round trip and circle outlines.
    virtual void setPictureScale(PictureArea area, float height, float width) = 0;
    virtual void putPictureOnClipboard(PictureArea area) = 0;
    virtual void takePictureFromClipboard(PictureArea area) = 0;
    virtual void drawCircle(PictureArea area, float x, float y, float radius) = 0;

    // A notice, asking nothing, that stays up while the program waits for something outside
    // it, such as another copy of the program recording in the folder; the empty text takes
    // it down. It must be on the screen when this returns.
    virtual void showWaitingNotice(const std::string& text) = 0;

    // Shows the form, painted, once the start-up boxes are answered and the assignment found:
    // the student sees it while the headers are written. No click is taken before the handler
    // that called this returns; a click made meanwhile waits its turn.
    virtual void showForm() = 0;

    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void beep() = 0;

    // Called once the run has ended and every channel is closed: the program quits.
    virtual void endRun() = 0;
};

} // namespace drilbank
