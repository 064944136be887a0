#include "WindowRun.h"

#include "win32/CaptionFit.h"
#include "win32/PictureControl.h"
#include "win32/WideText.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <string>
#include <vector>

using drilbank::ControlKind;
using drilbank::ControlRow;
using drilbank::controlTable;
using drilbank::testing::WindowRun;

namespace {

// A twip box in pixels at a DPI, to the nearest pixel: the table's own units, a 1440th of
// an inch.
int pixels(int twips, int dpi) {
    return (twips * dpi + 720) / 1440;
}

RECT placeInForm(const WindowRun& run, HWND control) {
    RECT box;
    GetWindowRect(control, &box);
    MapWindowPoints(nullptr, const_cast<WindowRun&>(run).window().form(),
                    reinterpret_cast<POINT*>(&box), 2);
    return box;
}

std::wstring accessibleName(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return L"(no accessible object)";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = L"(no name)";
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name != nullptr) {
        result = name;
        SysFreeString(name);
    }
    accessible->Release();
    return result;
}

} // namespace

class WindowLayoutTest : public ::testing::TestWithParam<int> {};

// Every control at its twip box through the DPI, on a form of the designed client size,
// with its caption or initial text.
TEST_P(WindowLayoutTest, everyControlSitsAtItsTwipBox) {
    const int dpi = GetParam();
    WindowRun run;
    run.window().applyDpi(static_cast<UINT>(dpi));
    RECT form;
    GetWindowRect(run.window().form(), &form);
    EXPECT_EQ(form.right - form.left, pixels(drilbank::clientWidthTwips, dpi));
    EXPECT_EQ(form.bottom - form.top, pixels(drilbank::clientHeightTwips, dpi));
    for (const ControlRow& row : controlTable()) {
        if (row.kind == ControlKind::Timer) {
            continue;
        }
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.index));
        HWND control = run.window().control(row.name, row.index);
        ASSERT_NE(control, nullptr);
        const RECT box = placeInForm(run, control);
        EXPECT_EQ(box.left, pixels(row.left, dpi));
        EXPECT_EQ(box.top, pixels(row.top, dpi));
        EXPECT_EQ(box.right, pixels(row.left, dpi) + pixels(row.width, dpi));
        EXPECT_EQ(box.bottom, pixels(row.top, dpi) + pixels(row.height, dpi));
        if (row.kind != ControlKind::PictureArea && row.kind != ControlKind::ListBox) {
            // A button's caption with its line breaks put in, between words only.
            std::wstring caption = run.text(control);
            for (std::size_t at; (at = caption.find(L"\r\n")) != std::wstring::npos;) {
                EXPECT_EQ(row.kind, ControlKind::CommandButton);
                caption.replace(at, 2, L" ");
            }
            EXPECT_EQ(caption, drilbank::toWide(row.caption));
        }
        // Every control clips its siblings, so an overlapping label never hides a box.
        EXPECT_TRUE(GetWindowLongPtrW(control, GWL_STYLE) & WS_CLIPSIBLINGS);
        // Every caption whole in its box ("Save as Notes", "Parameter 2"), in a font no
        // smaller than two thirds of the window's.
        if (row.kind == ControlKind::CommandButton || row.kind == ControlKind::Label) {
            EXPECT_TRUE(drilbank::captionFits(control, row.kind));
            LOGFONTW caption{};
            GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                       sizeof caption, &caption);
            EXPECT_GE(-caption.lfHeight * 3, (75 * dpi + 360) / 720 * 2);
        }
    }
    // The boxes' font is Arial 9.75 points at this DPI; the rest the smaller window font.
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(run.window().answerBox(), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Arial");
    EXPECT_EQ(-font.lfHeight, (975 * dpi + 3600) / 7200);
}

INSTANTIATE_TEST_SUITE_P(AtTwoDpis, WindowLayoutTest, ::testing::Values(96, 144));

// Tab runs from the question box through the tab indexes and round again, pressed as keys
// through the window's message loop; Shift+Tab runs back. Labels never take the focus, and
// neither box keeps Tab for itself. Tab or Shift+Tab selects a one-line box whole, as in the
// Qt window; the question and answer boxes keep their caret.
TEST(WindowKeyboard, tabAndShiftTabFollowTheTabIndexes) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    std::vector<HWND> expected;
    std::vector<ControlKind> kinds;
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Timer && row.kind != ControlKind::Label) {
            rows.push_back(&row);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    for (const ControlRow* row : rows) {
        expected.push_back(run.window().control(row->name, row->index));
        kinds.push_back(row->kind);
    }
    // Every box's caret at the end of its text: where a one-line box must not keep it.
    const auto caretsAtTheEnd = [&] {
        for (std::size_t at = 0; at < expected.size(); ++at) {
            if (kinds[at] == ControlKind::TextBox || kinds[at] == ControlKind::MultiLineTextBox) {
                const int length = GetWindowTextLengthW(expected[at]);
                SendMessageW(expected[at], EM_SETSEL, static_cast<WPARAM>(length), length);
            }
        }
    };
    const auto expectSelection = [&](std::size_t at, const char* keys, std::size_t step) {
        if (kinds[at] != ControlKind::TextBox && kinds[at] != ControlKind::MultiLineTextBox) {
            return;
        }
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(expected[at], EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        const DWORD length = static_cast<DWORD>(GetWindowTextLengthW(expected[at]));
        EXPECT_EQ(start, kinds[at] == ControlKind::TextBox ? 0 : length) << keys << step;
        EXPECT_EQ(end, length) << keys << step;
    };
    SetFocus(run.window().questionBox());
    caretsAtTheEnd();
    for (std::size_t step = 1; step <= expected.size(); ++step) {
        run.press(VK_TAB);
        EXPECT_EQ(GetFocus(), expected[step % expected.size()]) << "Tab " << step;
        expectSelection(step % expected.size(), "Tab ", step);
    }
    caretsAtTheEnd();
    for (std::size_t step = expected.size(); step >= 1; --step) {
        run.press(VK_TAB, true);
        EXPECT_EQ(GetFocus(), expected[step - 1]) << "Shift+Tab " << step;
        expectSelection(step - 1, "Shift+Tab ", step);
    }
    // A key typed after Tab replaces a one-line box's text.
    SetFocus(run.window().control("cmd_Make_Paragraph_question"));
    run.press(VK_TAB);
    ASSERT_EQ(GetFocus(), run.window().control("txt_paragraph_goback"));
    run.typeKeys(L"7");
    EXPECT_EQ(run.text(GetFocus()), L"7");
    // Neither box took a tab character in on the way.
    EXPECT_EQ(run.text(run.window().questionBox()).find(L'\t'), std::wstring::npos);
    EXPECT_EQ(run.text(run.window().answerBox()).find(L'\t'), std::wstring::npos);
}

// w, Tab, v, Shift+Tab, u in the answer box: Tab leaves it for "Next Question / Answer", on
// which v does nothing, and Shift+Tab comes back with the caret where it was. Tab from the
// answer box reaches "Enter Response" in two, with the default-button rim on it.
TEST(WindowKeyboard, typingGoesOnWhereTabLeftIt) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    HWND answerBox = run.window().answerBox();
    SetFocus(answerBox);
    SendMessageW(answerBox, EM_SETSEL, 0, -1);
    run.typeKeys(L"w");
    run.press(VK_TAB);
    EXPECT_EQ(GetFocus(), run.window().control("cmdNextQuestion"));
    run.typeKeys(L"v");
    run.press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), answerBox);
    run.typeKeys(L"u");
    EXPECT_EQ(run.text(answerBox), L"wu");

    run.press(VK_TAB);
    run.press(VK_TAB);
    HWND enter = run.window().control("cmd_enter_response");
    EXPECT_EQ(GetFocus(), enter);
    EXPECT_EQ(GetWindowLongPtrW(enter, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrW(run.window().control("cmdNextQuestion"), GWL_STYLE) & BS_TYPEMASK,
              BS_PUSHBUTTON);
    run.press(VK_RETURN);
    EXPECT_EQ(run.text(answerBox), L""); // recorded, and the box emptied
}

// Screen readers hear the same names as from the Qt window: the table's name, or the
// caption where the caption says it.
TEST(WindowAccessibility, everyControlHasItsAccessibleName) {
    WindowRun run;
    run.window().build();
    if (!run.window().accessibleNamesGiven()) {
        GTEST_SKIP() << "no accessibility annotations on this system";
    }
    for (const ControlRow& row : controlTable()) {
        if (row.kind == ControlKind::Timer) {
            continue;
        }
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.index));
        const std::string_view name = row.accessibleName.empty() ? row.caption : row.accessibleName;
        EXPECT_EQ(accessibleName(run.window().control(row.name, row.index)),
                  drilbank::toWide(name));
    }
}

// On a screen smaller than the form the window fits the free area and scrolls: Tab to a
// control out of sight brings it into view, from a box too, and the wheel over the form
// scrolls it while the focus stays in a box.
TEST(WindowKeyboard, aSmallScreenScrollsTheFormToTheFocusAndWithTheWheel) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    // Where the form fits, no scroll bar takes room from it.
    EXPECT_EQ(GetWindowLongPtrW(run.window().frame(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    SetWindowPos(run.window().frame(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    run.session().handlePendingMessages();
    HWND frame = run.window().frame();
    RECT view;
    GetClientRect(frame, &view);
    const auto inView = [&](HWND control) {
        RECT box;
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&box), 2);
        return box.left >= 0 && box.top >= 0 && box.right <= view.right &&
               box.bottom <= view.bottom;
    };
    // Shift+Tab from the question box goes round to "clear box", at the far right.
    SetFocus(run.window().questionBox());
    run.press(VK_TAB, true);
    HWND clear = run.window().control("cmd_clear_answer_box");
    ASSERT_EQ(GetFocus(), clear);
    EXPECT_TRUE(inView(clear));
    EXPECT_GT(GetScrollPos(frame, SB_HORZ), 0);
    // Tab from there comes back to the question box, its left edge in view, and from the
    // answer box to "Next Question / Answer".
    run.press(VK_TAB);
    ASSERT_EQ(GetFocus(), run.window().questionBox());
    EXPECT_LE(GetScrollPos(frame, SB_HORZ), pixels(240, 96));
    SetFocus(run.window().answerBox());
    run.window().scrollIntoView(run.window().answerBox());
    run.press(VK_TAB);
    ASSERT_EQ(GetFocus(), run.window().control("cmdNextQuestion"));
    EXPECT_TRUE(inView(GetFocus()));

    // The wheel over the form's own ground, left of "Next Question / Answer": down a notch
    // and up again, the focus and the question box's lines left as they are.
    SetFocus(run.window().questionBox());
    SendMessageW(frame, WM_HSCROLL, SB_TOP, 0);
    SendMessageW(frame, WM_VSCROLL, SB_TOP, 0);
    const int before = GetScrollPos(frame, SB_VERT);
    run.turnWheel({2, 2}, -WHEEL_DELTA);
    const int down = GetScrollPos(frame, SB_VERT);
    EXPECT_GT(down, before);
    run.turnWheel({2, 2}, WHEEL_DELTA);
    EXPECT_LT(GetScrollPos(frame, SB_VERT), down);
    EXPECT_EQ(GetFocus(), run.window().questionBox());
    EXPECT_EQ(SendMessageW(run.window().questionBox(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}
