#pragma once

#include <span>
#include <string_view>

namespace drilbank {

enum class ControlKind {
    CommandButton,
    TextBox,          // single-line
    MultiLineTextBox, // the question and answer boxes: vertical scroll bar, box font
    Label,
    ListBox,
    PictureArea,
    Timer, // invisible; no box, no tab index
};

// The question and answer boxes use the box font; every other control the window's font.
enum class ControlFont { Window, Box };

// One control of the main window. Boxes are in twips from the top-left corner of the
// client area; fifteen twips make one logical pixel.
struct ControlRow {
    std::string_view name;
    int index; // member index in a control array, or noIndex
    ControlKind kind;
    std::string_view caption; // caption, or initial text of a text box
    int left;
    int top;
    int width;
    int height;
    int tabIndex; // noIndex for the timer
    ControlFont font;
    std::string_view accessibleName; // empty: the caption says it
};

inline constexpr const char* windowTitle = "Form1";
constexpr int noIndex = -1;
constexpr int twipsPerPixel = 15;
constexpr int clientWidthTwips = 10875;
constexpr int clientHeightTwips = 8595;
constexpr int pendulumIntervalMs = 15;

// Every control, in the window's own order of creation.
std::span<const ControlRow> controlTable();

// Twips to logical pixels, to the nearest pixel.
int twipsToPixels(int twips);

} // namespace drilbank
