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
            EXPECT_EQ(run.text(control), drilbank::toWide(row.caption));
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

// Tab runs from the question box through the tab indexes; labels never take the focus.
TEST(WindowKeyboard, tabFollowsTheTabIndexes) {
    WindowRun run;
    std::vector<const ControlRow*> expected;
    for (const ControlRow& row : controlTable()) {
        if (row.kind != ControlKind::Timer && row.kind != ControlKind::Label) {
            expected.push_back(&row);
        }
    }
    std::sort(expected.begin(), expected.end(),
              [](const ControlRow* a, const ControlRow* b) { return a->tabIndex < b->tabIndex; });
    HWND at = run.window().questionBox();
    for (const ControlRow* row : expected) {
        SCOPED_TRACE(std::string(row->name) + " " + std::to_string(row->index));
        EXPECT_EQ(at, run.window().control(row->name, row->index));
        at = GetNextDlgTabItem(run.window().frame(), at, FALSE);
    }
    EXPECT_EQ(at, run.window().questionBox()); // and round again
}

// Screen readers hear the same names as from the Qt window: the table's name, or the
// caption where the caption says it.
TEST(WindowAccessibility, everyControlHasItsAccessibleName) {
    WindowRun run;
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

// On a screen smaller than the form the window fits the free area and scrolls; Tab to a
// control out of sight brings it into view.
TEST(WindowKeyboard, aSmallScreenScrollsTheFormToTheFocus) {
    WindowRun run;
    ASSERT_TRUE(run.startShown());
    // Where the form fits, no scroll bar takes room from it.
    EXPECT_EQ(GetWindowLongPtrW(run.window().frame(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    SetWindowPos(run.window().frame(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    run.session().handlePendingMessages();
    HWND clear = run.window().control("cmd_clear_answer_box");
    SetFocus(clear);
    run.window().scrollIntoView(clear);
    RECT view;
    GetClientRect(run.window().frame(), &view);
    RECT box;
    GetWindowRect(clear, &box);
    MapWindowPoints(nullptr, run.window().frame(), reinterpret_cast<POINT*>(&box), 2);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, view.right);
    EXPECT_GT(GetScrollPos(run.window().frame(), SB_HORZ), 0);
}
