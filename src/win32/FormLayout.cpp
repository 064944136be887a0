#include "win32/FormLayout.h"

namespace drilbank {
namespace {

constexpr int twipsPerInch = 1440;
// Point sizes in hundredths: 7.5 points for the window, 9.75 for the boxes.
constexpr int windowFontCentipoints = 750;
constexpr int boxFontCentipoints = 975;
constexpr int centipointsPerInch = 7200;

int fontHeightAt(int centipoints, UINT dpi) {
    // Negative: the character height, not the cell, as a point size means.
    return -MulDiv(centipoints, static_cast<int>(dpi), centipointsPerInch);
}

} // namespace

int twipsAt(int twips, UINT dpi) {
    return MulDiv(twips, static_cast<int>(dpi), twipsPerInch);
}

RECT controlBoxAt(const ControlRow& row, UINT dpi) {
    const int left = twipsAt(row.left, dpi);
    const int top = twipsAt(row.top, dpi);
    return RECT{left, top, left + twipsAt(row.width, dpi), top + twipsAt(row.height, dpi)};
}

SIZE formSizeAt(UINT dpi) {
    return SIZE{twipsAt(clientWidthTwips, dpi), twipsAt(clientHeightTwips, dpi)};
}

int windowFontHeightAt(UINT dpi) {
    return fontHeightAt(windowFontCentipoints, dpi);
}

int boxFontHeightAt(UINT dpi) {
    return fontHeightAt(boxFontCentipoints, dpi);
}

} // namespace drilbank
