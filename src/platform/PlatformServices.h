#pragma once

#include "platform/Clock.h"
#include "platform/RandomSource.h"
#include "platform/RecordFiles.h"

#include <string>

namespace drilbank {

enum class PictureArea { Picture1, Picture2 };

// Everything the program's logic needs from the outside world. Text crosses this
// interface as Windows-1252 bytes with CR LF line breaks, exactly as the record files hold it.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    // Modal boxes with the program's own title. An input box gives the empty text on
    // Cancel or close; a message box has an OK button only and no icon.
    virtual std::string inputBox(const std::string& prompt) = 0;
    virtual void messageBox(const std::string& text) = 0;

    // Numbered text channels and directory creation, over real files.
    virtual RecordFiles& files() = 0;
    virtual Clock& clock() = 0;
    virtual RandomSource& random() = 0;

    // The question box and the answer box, read and replaced whole.
    virtual std::string questionText() = 0;
    virtual void setQuestionText(const std::string& text) = 0;
    virtual std::string answerText() = 0;
    virtual void setAnswerText(const std::string& text) = 0;

    // Picture areas: user scale, the clipboard round trip and circle outlines.
    virtual void setPictureScale(PictureArea area, float height, float width) = 0;
    virtual void putPictureOnClipboard(PictureArea area) = 0;
    virtual void takePictureFromClipboard(PictureArea area) = 0;
    virtual void drawCircle(PictureArea area, float x, float y, float radius) = 0;

    virtual void setTimerEnabled(bool enabled) = 0;
    virtual void beep() = 0;

    // Called once the run has ended and every channel is closed: the program quits.
    virtual void endRun() = 0;
};

} // namespace drilbank
