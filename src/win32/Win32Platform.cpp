#include "win32/Win32Platform.h"

#include "win32/ClipboardPicture.h"
#include "win32/FormWindow.h"
#include "win32/ModalBoxes.h"
#include "win32/PictureControl.h"
#include "win32/WideText.h"

namespace drilbank {
namespace {

// Changes a form's box without drawing it meanwhile; it is painted once afterwards, when the
// system next paints. Under Wine a box with a scroll bar otherwise draws the bar at once for
// every step of a change, about a millisecond each, and WM_SETREDRAW leaves it drawable
// there. A window without WS_VISIBLE is what WM_SETREDRAW makes of it on Windows.
template <class Change> void changeUndrawn(HWND box, Change change) {
    const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    if ((style & WS_VISIBLE) == 0) {
        change();
        return;
    }
    SetWindowLongPtrW(box, GWL_STYLE, style & ~WS_VISIBLE);
    change();
    SetWindowLongPtrW(box, GWL_STYLE, style);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

} // namespace

Win32Platform::Win32Platform(FormWindow& window, Parts parts, std::function<void()> endRun)
    : window_(window), parts_(parts), endRun_(std::move(endRun)) {}

Win32Platform::~Win32Platform() = default;

HWND Win32Platform::dialogOwner() const {
    // Before the window is first shown the boxes stand alone, centred on the screen.
    return window_.isVisible() ? window_.frame() : nullptr;
}

std::optional<std::string> Win32Platform::inputBox(const std::string& prompt) {
    // The form is made while the student reads the first box, so that the last answer
    // brings it up at once.
    const std::optional<std::wstring> typed =
        askText(dialogOwner(), toWide(prompt), [this] { window_.build(); });
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

void Win32Platform::setQuestionText(const std::string& text, std::size_t inViewFrom) {
    HWND box = window_.questionBox();
    const std::wstring shown = toWide(text);
    if (shown == windowText(box)) {
        return; // nothing new to show or scroll to, and the box keeps its caret
    }
    const WPARAM from = toWide(std::string_view(text).substr(0, inViewFrom)).size();
    // EM_SCROLLCARET scrolls no further than brings the caret into view: the end first, then
    // the start of what is to be read, leaves as much after that start in view as fits.
    changeUndrawn(box, [&] {
        setWindowText(box, shown);
        for (const WPARAM caret : {static_cast<WPARAM>(shown.size()), from}) {
            SendMessageW(box, EM_SETSEL, caret, static_cast<LPARAM>(caret));
            SendMessageW(box, EM_SCROLLCARET, 0, 0);
        }
    });
}

std::string Win32Platform::answerText() {
    return fromWide(windowText(window_.answerBox()));
}

void Win32Platform::setAnswerText(const std::string& text) {
    // The same text is left as it is: even undrawn, a change costs time.
    HWND box = window_.answerBox();
    const std::wstring shown = toWide(text);
    if (shown != windowText(box)) {
        changeUndrawn(box, [&] { setWindowText(box, shown); });
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
    window_.setPictureScale(area, height, width);
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
        notice_.reset();
        return;
    }
    if (notice_ == nullptr) {
        notice_ = std::make_unique<WaitingNotice>(dialogOwner());
    }
    notice_->show(toWide(text));
}

void Win32Platform::showForm() {
    // Painted before the call returns; a click meanwhile stays in the queue until the handler
    // has written the headers.
    window_.show();
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
