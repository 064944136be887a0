#include "WindowRun.h"

#include "handling/FailureMessages.h"
#include "handling/TypedWorkGuard.h"
#include "texts/StudentTexts.h"
#include "win32/ModalBoxes.h"
#include "win32/PictureControl.h"
#include "win32/WideText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using drilbank::PictureArea;
using drilbank::PictureControl;
using drilbank::toWide;
using drilbank::testing::BoxRobot;
using drilbank::testing::goldenFile;
using drilbank::testing::WindowRun;

namespace {

const std::string masterFile = "c:\\drilbank\\masterFile_Ann_Lee_Smith.txt";
const std::string sendFile = "c:\\drilbank\\send_0416Ann_Lee_Smith.txt";
const std::string notesFile = "c:\\drilbank\\notes_Ann_Lee_Smith.txt";

bool startsWith(const std::wstring& text, const std::wstring& start) {
    return text.compare(0, start.size(), start) == 0;
}

// The text with each run of blanks and line breaks as one blank: as read, whatever the lines.
std::wstring asRead(const std::wstring& text) {
    std::wstring read;
    for (const wchar_t c : text) {
        const bool blank = c == L' ' || c == L'\r' || c == L'\n';
        if (!blank || read.empty() || read.back() != L' ') {
            read += blank ? L' ' : c;
        }
    }
    return read;
}

void typeInto(HWND box, const std::wstring& text) {
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Whether the character at an index of a multi-line box is on one of its visible lines.
bool isInView(HWND box, int character) {
    HDC dc = GetDC(box);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    TEXTMETRICW font{};
    GetTextMetricsW(dc, &font);
    ReleaseDC(box, dc);
    RECT area{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    const LRESULT first = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    const LRESULT line = SendMessageW(box, EM_LINEFROMCHAR, static_cast<WPARAM>(character), 0);
    return line >= first && line < first + (area.bottom - area.top) / font.tmHeight;
}

void pasteInto(HWND box, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendMessageW(box, WM_PASTE, 0, 0);
}

} // namespace

// A student's whole run through the real controls: two answers typed and pasted, with a
// Greek letter, an emoji and line breaks, the reviews, and "quit program".
TEST(WindowSession, aWholeSessionWritesTheGoldenRecordFiles) {
    WindowRun run;
    run.scriptPlainKeyLine();
    ASSERT_TRUE(run.startShown());
    ASSERT_EQ(run.boxes.seen.size(), 4u);

    run.click("cmdNextQuestion");
    EXPECT_TRUE(startsWith(run.text(run.window().questionBox()), L"Suppose the depth"));
    run.click("cmd_clear_answer_box");
    typeInto(run.window().answerBox(), L"\u0394v = 11 cm\r\nso fast \U0001F600");
    run.click("cmd_enter_response");
    EXPECT_EQ(run.text(run.window().answerBox()), L"");

    run.click("cmdNextQuestion");
    // More than the 32 767 characters a box takes by default goes in whole.
    const std::wstring longAnswer(40000, L'w');
    pasteInto(run.window().answerBox(), longAnswer);
    EXPECT_EQ(run.text(run.window().answerBox()).size(), longAnswer.size());
    SetWindowTextW(run.window().answerBox(), L"");
    pasteInto(run.window().answerBox(), L"first line\r\nsecond line");
    run.click("cmd_save_as_notes");

    run.click("cmd_display_note_file");
    EXPECT_TRUE(startsWith(run.text(run.window().questionBox()),
                           L"NOTES -------> first line\r\nsecond line......!!!!"));
    run.click("cmd_displayCumulativeText");
    EXPECT_NE(run.text(run.window().questionBox()).find(L"\u0394v = 11 cm\r\nso fast \U0001F600"),
              std::wstring::npos);

    run.click("cmd_quit");
    EXPECT_EQ(run.runEndings, 1);
    EXPECT_FALSE(run.window().isVisible());
    EXPECT_EQ(run.boxes.seen.size(), 4u); // no message on the way
    EXPECT_EQ(run.fileBytes(masterFile), goldenFile("masterFile_Ann_Lee_Smith.txt"));
    EXPECT_EQ(run.fileBytes(sendFile), goldenFile("send_0416Ann_Lee_Smith.txt"));
    EXPECT_EQ(run.fileBytes(notesFile), goldenFile("notes_Ann_Lee_Smith.txt"));
}

// Cancel or the close control on any start-up box leaves at once: no further box, no file,
// no window. The prompts are the core's, shown whole.
TEST(WindowSession, cancelOrCloseOnAnyStartUpBoxLeaves) {
    for (const bool useClose : {false, true}) {
        for (int box = 0; box < 4; ++box) {
            SCOPED_TRACE(std::to_string(box) + (useClose ? " close" : " cancel"));
            WindowRun run;
            const std::vector<std::wstring> valid{L"1", L"Ann Lee Smith", L"ALS", L"1"};
            for (int answered = 0; answered < box; ++answered) {
                run.boxes.answers.push_back(BoxRobot::type(valid[answered]));
            }
            run.boxes.answers.push_back(useClose ? BoxRobot::closeBox()
                                                 : BoxRobot::press(IDCANCEL));
            EXPECT_FALSE(run.session().load());
            EXPECT_EQ(run.boxes.seen.size(), static_cast<std::size_t>(box + 1));
            EXPECT_EQ(run.runEndings, 1);
            EXPECT_FALSE(run.window().isVisible());
            EXPECT_FALSE(run.fileExists(masterFile));
        }
    }
}

// Each guard asks with its own captions, the safe choice the default; Escape keeps the typed
// text, and after Next the keyboard is back in the answer box; the other choice goes on.
TEST(WindowSession, eachGuardKeepsOrLosesTheTypedTextAsChosen) {
    using drilbank::GuardedAction;
    struct Case {
        const char* button; // nullptr: the window's close control, or a log-off
        GuardedAction action;
        bool inQuestionBox = false;
        bool logOff = false; // the system's request, then its end when the program agrees
    };
    for (const Case& guard :
         {Case{"cmdNextQuestion", GuardedAction::NextQuestion},
          Case{"cmd_clear_answer_box", GuardedAction::ClearBox},
          Case{nullptr, GuardedAction::CloseWindow}, Case{"cmd_quit", GuardedAction::Quit},
          Case{"cmd_quit", GuardedAction::Quit, true},
          Case{nullptr, GuardedAction::CloseWindow, false, true},
          Case{nullptr, GuardedAction::CloseWindow, true, true}}) {
        for (const bool goOn : {false, true}) {
            SCOPED_TRACE(std::string(guard.button   ? guard.button
                                     : guard.logOff ? "log-off"
                                                    : "close") +
                         (guard.inQuestionBox ? " question box" : "") +
                         (goOn ? " go on" : " keep"));
            WindowRun run;
            ASSERT_TRUE(run.startShown());
            run.click("cmdNextQuestion");
            HWND answerBox = run.window().answerBox();
            HWND typedInto = guard.inQuestionBox ? run.window().questionBox() : answerBox;
            SendMessageW(typedInto, EM_SETSEL, -1, -1);
            typeInto(typedInto, L"my typed answer \u0416");
            const std::wstring answerShown = run.text(answerBox);
            run.boxes.answers.push_back(goOn ? BoxRobot::press(drilbank::modalbox::goOnId)
                                             : BoxRobot::key(VK_ESCAPE));
            if (guard.button != nullptr) {
                run.click(guard.button);
            } else if (guard.logOff) {
                HWND frame = run.window().frame();
                const LRESULT mayEnd =
                    SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
                EXPECT_EQ(mayEnd != FALSE, goOn);
                SendMessageW(frame, WM_ENDSESSION, mayEnd, ENDSESSION_LOGOFF);
                run.session().handlePendingMessages();
            } else {
                SendMessageW(run.window().frame(), WM_CLOSE, 0, 0);
            }
            const drilbank::GuardQuestion question =
                drilbank::guardQuestion(guard.action, !guard.inQuestionBox, guard.inQuestionBox);
            ASSERT_EQ(run.boxes.seen.size(), 5u);
            EXPECT_EQ(run.boxes.seen.back(), toWide(question.text));
            const std::vector<std::wstring> captions{toWide(question.safeChoice),
                                                     toWide(question.goOnChoice)};
            EXPECT_EQ(run.boxes.buttonCaptions, captions);
            EXPECT_EQ(run.boxes.defaultButton, IDCANCEL);
            EXPECT_EQ(run.boxes.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
            const bool ends =
                guard.action == GuardedAction::CloseWindow || guard.action == GuardedAction::Quit;
            if (!goOn) {
                EXPECT_EQ(run.text(answerBox), answerShown);
                EXPECT_EQ(run.runEndings, 0);
                if (guard.action == GuardedAction::NextQuestion) {
                    EXPECT_EQ(GetFocus(), answerBox);
                }
            } else if (ends) {
                EXPECT_EQ(run.runEndings, 1);
                EXPECT_FALSE(run.window().isVisible());
            } else {
                EXPECT_NE(run.text(answerBox), answerShown);
            }
        }
    }
}

// A log-off with nothing typed and unrecorded goes on without a question; every answer
// recorded before it is in the record files whole, and the run is over.
TEST(WindowSession, aLogOffWithoutTypingKeepsEveryRecordedClick) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    run.click("cmdNextQuestion");
    typeInto(run.window().answerBox(), L"recorded before the log-off");
    run.click("cmd_enter_response");
    const std::string master = run.fileBytes(masterFile);
    ASSERT_NE(master.find("recorded before the log-off"), std::string::npos);
    HWND frame = run.window().frame();
    EXPECT_NE(SendMessageW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    EXPECT_EQ(run.boxes.seen.size(), 4u); // the start-up boxes only
    EXPECT_EQ(run.runEndings, 0);
    SendMessageW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(run.runEndings, 1);
    EXPECT_TRUE(run.session().hasEnded());
    EXPECT_EQ(run.fileBytes(masterFile), master);
    EXPECT_NE(run.fileBytes(sendFile).find("recorded before the log-off"), std::string::npos);
}

// After "Next Question / Answer" the keyboard is in the answer box with the program's blank
// or prompt selected, so that the first key replaces it; text typed earlier is added to.
TEST(WindowSession, theFocusFollowsTheWork) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    HWND answerBox = run.window().answerBox();
    const std::wstring sentence = L"it drains more slowly";
    for (int question = 1; question <= 2; ++question) { // the blank, then the prompt
        run.click("cmdNextQuestion");
        ASSERT_EQ(GetFocus(), answerBox);
        typeInto(GetFocus(), sentence);
        EXPECT_EQ(run.text(answerBox), sentence);
        SetWindowTextW(answerBox, question == 1 ? L" " : L"");
    }
    typeInto(answerBox, L"a note");
    run.click("cmd_enter_response");
    typeInto(answerBox, L"a note");
    SetFocus(run.window().control("cmdNextQuestion"));
    run.click("cmdNextQuestion"); // nothing pending: the note stays
    ASSERT_EQ(GetFocus(), answerBox);
    typeInto(GetFocus(), L" more");
    EXPECT_EQ(run.text(answerBox), L"a note more");
    EXPECT_EQ(run.runEndings, 0);
}

// An answer typed in the question box: "Enter Response" asks whether it is the answer and
// records it if so; if not, nothing is recorded and both boxes stay as they are.
TEST(WindowSession, anAnswerTypedInTheQuestionBoxIsRecordedOnlyIfSaidSo) {
    for (const bool isTheAnswer : {true, false}) {
        SCOPED_TRACE(isTheAnswer ? "record it" : "not my answer");
        WindowRun run;
        ASSERT_TRUE(run.startShown());
        run.click("cmdNextQuestion");
        HWND questionBox = run.window().questionBox();
        SendMessageW(questionBox, EM_SETSEL, -1, -1);
        typeInto(questionBox, L"\r\nThe slope gets smaller");
        const std::wstring questionShown = run.text(questionBox);
        const std::string master = run.fileBytes(masterFile);
        run.boxes.answers.push_back(isTheAnswer ? BoxRobot::press(drilbank::modalbox::goOnId)
                                                : BoxRobot::key(VK_ESCAPE));
        run.click("cmd_enter_response");

        ASSERT_EQ(run.boxes.seen.size(), 5u);
        EXPECT_NE(run.boxes.seen.back().find(L"The slope gets smaller"), std::wstring::npos);
        const std::string gained = run.fileBytes(masterFile).substr(master.size());
        if (isTheAnswer) {
            EXPECT_NE(gained.find("RESPONSE -->  \r\nThe slope gets smaller"), std::string::npos);
            EXPECT_EQ(run.text(questionBox), L"");
            EXPECT_EQ(run.text(run.window().answerBox()), L"");
        } else {
            EXPECT_EQ(gained, "");
            EXPECT_EQ(run.text(questionBox), questionShown);
            EXPECT_EQ(run.text(run.window().answerBox()), L" ");
        }
    }
}

// Past the last question the run says the assignment is finished, and ends.
TEST(WindowSession, readingPastTheLastQuestionCompletesTheAssignment) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    for (int question = 1; question <= 9; ++question) {
        run.click("cmdNextQuestion");
    }
    const std::wstring shown = run.text(run.window().questionBox());
    run.click("cmdNextQuestion");
    ASSERT_EQ(run.boxes.seen.size(), 5u);
    EXPECT_TRUE(startsWith(run.boxes.seen.back(), L"You have finished assignment 001."));
    EXPECT_EQ(run.runEndings, 1);
    EXPECT_FALSE(run.window().isVisible());
    EXPECT_EQ(run.text(run.window().questionBox()), shown);
    // New text was scrolled into view as it came: the box no longer shows its first line.
    EXPECT_GT(SendMessageW(run.window().questionBox(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

// After each action what the student is to read is in view, as in the Qt window: a new
// question from its start, the notes up to their end (the newest), the transcript from its
// top. The notes, joined into one line, wrap to several times the box's height.
TEST(WindowSession, newTextIsScrolledIntoView) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    HWND box = run.window().questionBox();
    std::string notes;
    for (int line = 0; line < 120; ++line) {
        notes += "an earlier note that fills the box " + std::to_string(line) + "\r\n";
    }
    std::ofstream(run.files().drives().toLocal(notesFile), std::ios::binary) << notes;
    for (const std::string_view button :
         {"cmdNextQuestion", "cmd_display_note_file", "cmdNextQuestion",
          "cmd_displayCumulativeText", "cmd_display_note_file", "cmdNextQuestion"}) {
        const int before = GetWindowTextLengthW(box);
        run.click(button);
        const int end = GetWindowTextLengthW(box);
        const int read = button == "cmd_displayCumulativeText" ? 0
                         : button == "cmd_display_note_file"   ? end - 1
                                                               : before;
        EXPECT_TRUE(isInView(box, read)) << button;
        if (button == "cmd_display_note_file") {
            EXPECT_FALSE(isInView(box, before)) << "the notes' start is above the view";
            EXPECT_TRUE(run.text(box).ends_with(L"an earlier note that fills the box 119"));
        }
    }
}

// A campus drive that is not there: the numbered message, below it in the same box which
// folder is missing and what to do; every line fits the box, broken only where the core
// allows, with none of its break marks left to show.
TEST(WindowSession, anErrorShowsItsNumberItsDetailAndItsAdvice) {
    WindowRun run;
    run.start({L"2", L"Ann Lee Smith", L"ALS", L"1"});
    ASSERT_GE(run.boxes.seen.size(), 5u);
    const std::wstring message = run.boxes.seen[4];
    EXPECT_TRUE(startsWith(asRead(message), asRead(toWide(drilbank::generalErrorMessage(76)))));
    EXPECT_NE(message.find(L"\r\n\r\n"), std::wstring::npos);
    EXPECT_NE(message.find(L"i:"), std::wstring::npos);
    EXPECT_NE(message.find(L"connect the campus drive"), std::wstring::npos);
    EXPECT_EQ(message.find_first_of(L"\u200B\u2060"), std::wstring::npos);
    EXPECT_EQ(run.boxes.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_LE(run.boxes.widestText, run.boxes.textWidth);
}

// "copy picture" passes Picture1's picture through the clipboard as a device-independent
// bitmap into Picture2; an empty picture empties the target.
TEST(WindowSession, copyPicturePassesThePictureThroughTheClipboard) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    PictureControl& target = run.window().picture(PictureArea::Picture2);
    run.click("cmd_copy_picture");
    EXPECT_EQ(target.picture(), nullptr);

    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 7, 5);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, picture);
    RECT all{0, 0, 7, 5};
    HBRUSH red = CreateSolidBrush(RGB(200, 10, 20));
    FillRect(dc, &all, red);
    SetPixel(dc, 6, 4, RGB(0, 0, 255));
    SelectObject(dc, previous);
    run.window().picture(PictureArea::Picture1).setPicture(picture);

    run.click("cmd_copy_picture");
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_NE(target.picture(), nullptr);
    BITMAP copied;
    GetObjectW(target.picture(), sizeof copied, &copied);
    EXPECT_EQ(copied.bmWidth, 7);
    EXPECT_EQ(copied.bmHeight, 5);
    previous = SelectObject(dc, target.picture());
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(200, 10, 20));
    EXPECT_EQ(GetPixel(dc, 6, 4), RGB(0, 0, 255));
    SelectObject(dc, previous);
    DeleteObject(red);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(run.boxes.seen.size() == 4u);
}

// "pend exp" starts the timer; each tick beeps once and draws one circle on Picture1 with
// one random draw, its radius measured across so that it stays round.
TEST(WindowSession, eachTickBeepsAndDrawsOneRoundCircle) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    run.random.scripted.assign(1000, 0.05f);
    const int drawsBefore = run.random.draws;
    const int beepsBefore = WindowRun::beeps;
    run.click("cmd_pend_exp");
    for (int wait = 0; wait < 200 && WindowRun::beeps == beepsBefore; ++wait) {
        Sleep(10);
        run.session().handlePendingMessages();
    }
    run.window().setTimerRunning(false);
    ASSERT_GT(WindowRun::beeps, beepsBefore);
    EXPECT_EQ(run.random.draws - drawsBefore, WindowRun::beeps - beepsBefore);

    PictureControl& picture = run.window().picture(PictureArea::Picture1);
    BITMAP size;
    ASSERT_EQ(GetObjectW(picture.circles(), sizeof size, &size), int(sizeof size));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, picture.circles());
    const auto drawnNear = [dc](int x, int y) { // within the rounding of pixels
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                if (GetPixel(dc, x + dx, y + dy) != RGB(255, 255, 255)) {
                    return true;
                }
            }
        }
        return false;
    };
    const int cx = size.bmWidth / 2;
    const int cy = size.bmHeight / 2;
    const int radius = size.bmWidth * 25 / 1000;
    EXPECT_TRUE(drawnNear(cx + radius, cy));
    EXPECT_TRUE(drawnNear(cx, cy - radius));
    EXPECT_FALSE(drawnNear(cx, cy - size.bmHeight * 25 / 1000)) << "squashed to the height";
    EXPECT_FALSE(drawnNear(cx, cy));
    SelectObject(dc, previous);
    DeleteDC(dc);
}

// A quick second press on a button, and the presses a held key repeats, count once; Return
// on a button presses it.
TEST(WindowSession, aDoubleClickOrAHeldKeyActsOnce) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    HWND next = run.window().control("cmdNextQuestion");
    const LPARAM inside = MAKELPARAM(5, 5);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageW(next, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, inside);
    }
    run.session().handlePendingMessages();
    const std::wstring once = run.text(run.window().questionBox());
    EXPECT_TRUE(startsWith(once, L"Suppose the depth"));

    SetFocus(next);
    const LPARAM repeated = LPARAM(1) | (LPARAM(1) << 30);
    PostMessageW(next, WM_KEYDOWN, VK_SPACE, 1);
    PostMessageW(next, WM_KEYDOWN, VK_SPACE, repeated);
    PostMessageW(next, WM_KEYDOWN, VK_SPACE, repeated);
    PostMessageW(next, WM_KEYUP, VK_SPACE, LPARAM(1) | (LPARAM(3) << 30));
    run.session().handlePendingMessages();
    const std::wstring twice = run.text(run.window().questionBox());
    EXPECT_GT(twice.size(), once.size());
    // One line more, not three: the next question's marker appears once more only.
    EXPECT_EQ(twice.find(L"Suppose the depth"), 0u);

    // Return presses the button that has the focus, once.
    SetFocus(next);
    PostMessageW(next, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(next, WM_KEYUP, VK_RETURN, LPARAM(1) | (LPARAM(3) << 30));
    run.session().handlePendingMessages();
    EXPECT_GT(run.text(run.window().questionBox()).size(), twice.size());
}

// While the program waits for another copy, a notice that asks nothing says so; it is on
// the screen as soon as it is asked for, and gone with the empty text.
TEST(WindowSession, aWaitingNoticeStaysUpUntilTakenDown) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    const std::string waiting = "Waiting for the other copy of drilbank to finish\xE2";
    run.session().platform().showWaitingNotice(waiting);
    HWND notice = FindWindowW(L"#32770", toWide(drilbank::boxTitle).c_str());
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(IsWindowVisible(notice));
    EXPECT_EQ(run.text(GetDlgItem(notice, drilbank::modalbox::textId)), toWide(waiting));
    run.session().platform().showWaitingNotice({});
    EXPECT_FALSE(IsWindow(notice));
}
