#include "win32/PictureControl.h"

namespace drilbank {

const wchar_t* const PictureControl::className = L"drilbankPictureArea";

void PictureControl::registerClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PictureControl::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass); // a second registration fails harmlessly
}

PictureControl& PictureControl::of(HWND window) {
    return *reinterpret_cast<PictureControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

PictureControl::~PictureControl() {
    setPicture(nullptr);
    if (circles_ != nullptr) {
        DeleteObject(circles_);
    }
}

void PictureControl::setScale(float height, float width) {
    scaleHeight_ = height;
    scaleWidth_ = width;
}

void PictureControl::setPicture(HBITMAP picture) {
    if (picture_ != nullptr && picture_ != picture) {
        DeleteObject(picture_);
    }
    picture_ = picture;
    InvalidateRect(window_, nullptr, TRUE);
}

void PictureControl::resetCircles() {
    if (circles_ != nullptr) {
        DeleteObject(circles_);
        circles_ = nullptr;
    }
    RECT inside;
    GetClientRect(window_, &inside);
    HDC screen = GetDC(window_);
    circles_ = CreateCompatibleBitmap(screen, inside.right, inside.bottom);
    HDC layer = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(layer, circles_);
    FillRect(layer, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(layer, previous);
    DeleteDC(layer);
    ReleaseDC(window_, screen);
}

void PictureControl::drawCircle(float x, float y, float radius) {
    RECT inside;
    GetClientRect(window_, &inside);
    const double across = scaleWidth_ > 0.0f ? inside.right / double(scaleWidth_) : 1.0;
    const double down = scaleHeight_ > 0.0f ? inside.bottom / double(scaleHeight_) : 1.0;
    // The radius is measured across, so the circle stays round on an area that is wider
    // than high.
    const int cx = static_cast<int>(x * across + 0.5);
    const int cy = static_cast<int>(y * down + 0.5);
    const int r = static_cast<int>(radius * across + 0.5);
    HDC screen = GetDC(window_);
    HDC layer = CreateCompatibleDC(screen);
    HGDIOBJ previousBitmap = SelectObject(layer, circles_);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ previousPen = SelectObject(layer, pen);
    HGDIOBJ previousBrush = SelectObject(layer, GetStockObject(NULL_BRUSH));
    Ellipse(layer, cx - r, cy - r, cx + r + 1, cy + r + 1);
    SelectObject(layer, previousBrush);
    SelectObject(layer, previousPen);
    DeleteObject(pen);
    SelectObject(layer, previousBitmap);
    DeleteDC(layer);
    ReleaseDC(window_, screen);
    InvalidateRect(window_, nullptr, FALSE);
}

void PictureControl::paint() {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window_, &paintStruct);
    RECT inside;
    GetClientRect(window_, &inside);
    HDC source = CreateCompatibleDC(dc);
    FillRect(dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (picture_ != nullptr) {
        HGDIOBJ previous = SelectObject(source, picture_);
        BITMAP size;
        GetObjectW(picture_, sizeof size, &size);
        BitBlt(dc, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
    }
    if (circles_ != nullptr) {
        // White leaves what lies below; the outlines darken it.
        HGDIOBJ previous = SelectObject(source, circles_);
        BitBlt(dc, 0, 0, inside.right, inside.bottom, source, 0, 0, SRCAND);
        SelectObject(source, previous);
    }
    DeleteDC(source);
    if (GetFocus() == window_) {
        // The area takes the focus in the tab order; keyboard users must see where it is.
        RECT focus = inside;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
    EndPaint(window_, &paintStruct);
}

LRESULT CALLBACK PictureControl::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(new PictureControl(window)));
        break;
    case WM_NCDESTROY:
        delete &of(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    case WM_SIZE:
        of(window).resetCircles();
        return 0;
    case WM_PAINT:
        of(window).paint();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
        SetFocus(window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace drilbank
