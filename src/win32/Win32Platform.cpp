#include "win32/Win32Platform.h"

#include "win32/ClipboardPicture.h"
#include "win32/FormWindow.h"
#include "win32/ModalBoxes.h"
#include "win32/PictureControl.h"
#include "win32/WideText.h"

namespace drilbank {

Win32Platform::Win32Platform(FormWindow& window, Parts parts, std::function<void()> endRun)
    : window_(window), parts_(parts), endRun_(std::move(endRun)) {}

HWND Win32Platform::dialogOwner() const {
    // Before the window is first shown the boxes stand alone, centred on the screen.
    return window_.isVisible() ? window_.frame() : nullptr;
}

std::optional<std::string> Win32Platform::inputBox(const std::string& prompt) {
    const std::optional<std::wstring> typed = askText(dialogOwner(), toWide(prompt));
    if (!typed) {
        return std::nullopt;
    }
    return fromWide(*typed);
}

void Win32Platform::messageBox(const std::string& text, const std::string& detail,
                               const std::string& advice) {
    showMessage(dialogOwner(), toWide(text), toWide(detail), toWide(advice));
}

bool Win32Platform::askToGoOn(const GuardQuestion& question) {
    return drilbank::askToGoOn(dialogOwner(), toWide(question.text), toWide(question.safeChoice),
                               toWide(question.goOnChoice));
}

std::string Win32Platform::questionText() {
    return fromWide(windowText(window_.questionBox()));
}

void Win32Platform::setQuestionText(const std::string& text) {
    HWND box = window_.questionBox();
    const std::wstring before = windowText(box);
    const std::wstring shown = toWide(text);
    if (shown == before) {
        return; // nothing new to show or scroll to, and the box keeps its caret
    }
    // Text added at the end is scrolled into view from its start; a new text from its top.
    const bool appended = shown.compare(0, before.size(), before) == 0;
    const WPARAM newTextStart = appended ? before.size() : 0;
    setWindowText(box, shown);
    SendMessageW(box, EM_SETSEL, shown.size(), static_cast<LPARAM>(shown.size()));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
    SendMessageW(box, EM_SETSEL, newTextStart, static_cast<LPARAM>(newTextStart));
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

std::string Win32Platform::answerText() {
    return fromWide(windowText(window_.answerBox()));
}

void Win32Platform::setAnswerText(const std::string& text) {
    // Replacing a box's text costs milliseconds under Wine; the same text is left as it is.
    HWND box = window_.answerBox();
    const std::wstring shown = toWide(text);
    if (shown != windowText(box)) {
        setWindowText(box, shown);
    }
}

void Win32Platform::focusAnswerBox(AnswerCaret caret) {
    HWND box = window_.answerBox();
    SetFocus(box);
    if (caret == AnswerCaret::SelectAll) {
        SendMessageW(box, EM_SETSEL, 0, -1);
    } else {
        const LRESULT end = GetWindowTextLengthW(box);
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(box, EM_SCROLLCARET, 0, 0);
    }
}

void Win32Platform::setPictureScale(PictureArea area, float height, float width) {
    window_.picture(area).setScale(height, width);
}

void Win32Platform::putPictureOnClipboard(PictureArea area) {
    // An empty picture leaves the clipboard as it is; taking it then empties the target.
    HBITMAP picture = window_.picture(area).picture();
    emptyPictureCopied_ = picture == nullptr;
    if (!emptyPictureCopied_) {
        putBitmapOnClipboard(window_.frame(), picture);
    }
}

void Win32Platform::takePictureFromClipboard(PictureArea area) {
    window_.picture(area).setPicture(
        emptyPictureCopied_ ? nullptr : takeBitmapFromClipboard(window_.frame()));
}

void Win32Platform::drawCircle(PictureArea area, float x, float y, float radius) {
    window_.picture(area).drawCircle(x, y, radius);
}

void Win32Platform::showWaitingNotice(const std::string& text) {
    if (text.empty()) {
        if (notice_ != nullptr) {
            DestroyWindow(notice_);
            notice_ = nullptr;
        }
        return;
    }
    if (notice_ == nullptr) {
        notice_ = createNotice(dialogOwner());
    }
    setWindowText(GetDlgItem(notice_, modalbox::textId), toWide(text));
    ShowWindow(notice_, SW_SHOWNA);
    UpdateWindow(notice_);
}

void Win32Platform::setTimerEnabled(bool enabled) {
    window_.setTimerRunning(enabled);
}

void Win32Platform::beep() {
    parts_.beep();
}

void Win32Platform::endRun() {
    endRun_();
}

} // namespace drilbank
