#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace drilbank::testing {

// Answers the program's modal boxes as a student would, through window messages: each box
// that opens on this thread is read and then handled by the next scripted answer. A
// thread timer does the work, so it runs inside each box's own modal loop.
class BoxRobot {
public:
    using Answer = std::function<void(HWND box)>;

    BoxRobot();
    ~BoxRobot();
    BoxRobot(const BoxRobot&) = delete;
    BoxRobot& operator=(const BoxRobot&) = delete;

    std::deque<Answer> answers;     // used in order; a box with none left is closed with Escape
    std::vector<std::wstring> seen; // each box's texts, in order, joined by a blank line

    // Answers.
    static Answer type(const std::wstring& text); // types the text and presses OK
    static Answer press(int id);                  // clicks the button with this id
    static Answer key(WORD virtualKey);           // a key pressed on the box's focus
    static Answer closeBox();                     // the close control in the title bar

    // The captions of the box's buttons and the id of its default button, as last seen.
    std::vector<std::wstring> buttonCaptions;
    int defaultButton = 0;
    // The box's window style; the width of its texts' widest line in their font, and the
    // narrowest of their controls' widths.
    DWORD style = 0;
    int widestText = 0;
    int textWidth = 0;

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD);
    void handle(HWND box);

    UINT_PTR timer_ = 0;
};

} // namespace drilbank::testing
