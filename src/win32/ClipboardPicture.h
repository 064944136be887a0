#pragma once

#include <windows.h>

namespace drilbank {

// A bitmap through the system clipboard as a device-independent bitmap (CF_DIB), which
// every Windows program reads. A clipboard that cannot be opened, or holds no bitmap, is a
// numbered failure with a detail saying so.
void putBitmapOnClipboard(HWND owner, HBITMAP bitmap);
HBITMAP takeBitmapFromClipboard(HWND owner);

} // namespace drilbank
