#include "win32/MessageFont.h"

#include "win32/FormLayout.h"

namespace drilbank {

LOGFONTW messageFontAt(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        return metrics.lfMessageFont;
    }
    // Where the system cannot say: its own default for messages, scaled alike.
    LOGFONTW fallback{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof fallback, &fallback);
    fallback.lfHeight =
        MulDiv(fallback.lfHeight, static_cast<int>(dpi), static_cast<int>(defaultDpi));
    return fallback;
}

WORD messageFontPoints() {
    const LOGFONTW font = messageFontAt(defaultDpi);
    const int height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    // A point is 96/72 pixels at 96 DPI, to the nearest point; never below the size a box's
    // own default would be.
    const int points = (height * 72 + 48) / 96;
    return static_cast<WORD>(points < 8 ? 8 : points);
}

} // namespace drilbank
