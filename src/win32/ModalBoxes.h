#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace drilbank {

// The program's modal boxes, with the title of its boxes. Control ids let the tests and assistive
// tools find the parts of each box.
namespace modalbox {
constexpr int textId = 100;  // the prompt, question or message
constexpr int inputId = 101; // the input box's field
constexpr int goOnId = 102;  // the guard question's choice that goes on
} // namespace modalbox

// A prompt, a one-line field that starts empty, OK and Cancel. Nothing on Cancel or close.
// `whileShown`, when given, runs once the box has been up a moment: work the program can do
// while the student reads, rather than after the answer.
std::optional<std::wstring> askText(HWND owner, const std::wstring& prompt,
                                    const std::function<void()>& whileShown = {});

// A text with an OK button only and no icon; below it in the same box, when given, a detail
// (what failed) and the advice (what to do next), each after an empty line.
void showMessage(HWND owner, const std::wstring& text, const std::wstring& detail = {},
                 const std::wstring& advice = {});

// A question with two choices of its own captions. The safe one is the default button and
// what Enter, Escape and closing give; true only when the other was chosen.
bool askToGoOn(HWND owner, const std::wstring& question, const std::wstring& safeChoice,
               const std::wstring& goOnChoice);

// A box without buttons that tells the student what the program waits for; its text is the
// control textId, in the system's message font at the box's DPI, and the box is as large as
// its text needs. Up from show until the notice goes.
class WaitingNotice {
public:
    explicit WaitingNotice(HWND owner);
    ~WaitingNotice();
    WaitingNotice(const WaitingNotice&) = delete;
    WaitingNotice& operator=(const WaitingNotice&) = delete;

    void show(const std::wstring& text);

private:
    HWND owner_;
    HWND box_;
    HFONT font_;
};

} // namespace drilbank
