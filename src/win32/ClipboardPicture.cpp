#include "win32/ClipboardPicture.h"

#include "os/Failure.h"
#include "texts/FailureTexts.h"

#include <cstring>
#include <vector>

namespace drilbank {
namespace {

// Open for the length of one scope; closed again however the scope is left.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(HWND owner) {
        if (!OpenClipboard(owner)) {
            throw Failure(failure::DeviceIoError, clipboardBusyText);
        }
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

// The bitmap's header and pixels, top-down rows of 32 bits each.
std::vector<char> dibOf(HBITMAP bitmap) {
    BITMAP size;
    GetObjectW(bitmap, sizeof size, &size);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = size.bmWidth;
    header.biHeight = size.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const std::size_t pixels = std::size_t(size.bmWidth) * std::size_t(size.bmHeight) * 4;
    std::vector<char> dib(sizeof header + pixels);
    std::memcpy(dib.data(), &header, sizeof header);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.bmHeight), dib.data() + sizeof header,
              reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return dib;
}

} // namespace

void putBitmapOnClipboard(HWND owner, HBITMAP bitmap) {
    const std::vector<char> dib = dibOf(bitmap);
    OpenClipboardScope open(owner);
    // Only the clipboard's owner may put data on it; taking ownership empties it.
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    if (memory == nullptr) {
        throw Failure(failure::OutOfMemory);
    }
    std::memcpy(GlobalLock(memory), dib.data(), dib.size());
    GlobalUnlock(memory);
    if (SetClipboardData(CF_DIB, memory) == nullptr) {
        GlobalFree(memory);
        throw Failure(failure::DeviceIoError, clipboardRefusedText);
    }
}

HBITMAP takeBitmapFromClipboard(HWND owner) {
    OpenClipboardScope open(owner);
    HANDLE memory = GetClipboardData(CF_DIB);
    if (memory == nullptr) {
        return nullptr;
    }
    const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(memory));
    if (info == nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    std::size_t colours = header.biClrUsed;
    if (colours == 0 && header.biBitCount <= 8) {
        colours = std::size_t(1) << header.biBitCount;
    }
    std::size_t offset = header.biSize + colours * sizeof(RGBQUAD);
    if (header.biCompression == BI_BITFIELDS && header.biSize == sizeof(BITMAPINFOHEADER)) {
        offset += 3 * sizeof(DWORD);
    }
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap =
        CreateDIBitmap(screen, &header, CBM_INIT, reinterpret_cast<const char*>(info) + offset,
                       info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(memory);
    return bitmap;
}

} // namespace drilbank
