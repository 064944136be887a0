#pragma once

#include "window/ControlTable.h"

#include <windows.h>

#include <map>
#include <string>

namespace drilbank {

// The table's font at the pixel heights asked for, each made once and deleted with the set.
class FontSet {
public:
    FontSet() = default;
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    // A character height in pixels, as a point size gives it.
    HFONT at(int height);

private:
    std::map<int, HFONT> fonts_;
};

// Whether a button's or a label's caption fits its box whole in its present font: broken only
// between words, no word cut, no line below the box.
bool captionFits(HWND control, ControlKind kind);

// The font for a button or a label at its present size: the window's font, or when the
// caption does not fit at that size, the largest smaller one at which it does (down to two
// thirds of it), as a student would rather read a smaller word than half of one. A button
// gets the caption with its line breaks put in: the system's own multi-line caption breaks at
// the last blank that fits its narrower label, which under Wine puts "Save as" on two lines.
HFONT fitCaption(HWND control, ControlKind kind, const std::wstring& caption, FontSet& fonts,
                 int windowFontHeight);

} // namespace drilbank
