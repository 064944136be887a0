#pragma once

#include <windows.h>

namespace drilbank {

// A picture area: a white surface that can hold one picture, with a user scale, and a layer
// of circle outlines drawn over the picture but not part of it.
class PictureControl {
public:
    static const wchar_t* const className;
    static void registerClass(HINSTANCE instance);
    // The control behind a window of this class.
    static PictureControl& of(HWND window);

    void setScale(float height, float width);
    // Takes ownership; nullptr empties the area.
    void setPicture(HBITMAP picture);
    HBITMAP picture() const { return picture_; }
    // The outlines drawn so far, dark on white, the size of the area.
    HBITMAP circles() const { return circles_; }
    void drawCircle(float x, float y, float radius);

private:
    explicit PictureControl(HWND window) : window_(window) {}
    ~PictureControl();
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void resetCircles();
    void paint();

    HWND window_;
    HBITMAP picture_ = nullptr;
    HBITMAP circles_ = nullptr; // white where nothing is drawn
    float scaleHeight_ = 0.0f;
    float scaleWidth_ = 0.0f;
};

} // namespace drilbank
