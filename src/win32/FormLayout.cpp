#include "win32/FormLayout.h"

namespace drilbank {
namespace {

constexpr int twipsPerInch = 1440;
constexpr double pointsPerInch = 72.0;

int fontHeightAt(double points, UINT dpi) {
    return static_cast<int>(points * dpi / pointsPerInch + 0.5);
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
    return fontHeightAt(windowFontPoints, dpi);
}

int boxFontHeightAt(UINT dpi) {
    return fontHeightAt(boxFontPoints, dpi);
}

} // namespace drilbank
