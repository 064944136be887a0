#pragma once

#include <QFrame>
#include <QImage>
#include <QPixmap>

namespace drilbank {

// A picture area: a white drawing surface with a sunken border that can hold one picture,
// shown at its top-left corner. Circles are drawn on a layer of their own above the
// picture, so that they are never part of it and never copied with it.
class PictureBox : public QFrame {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    // User units across and down the inside; drawing positions are given in these units.
    void setScale(float height, float width);
    float scaleHeight() const { return scaleHeight_; }
    float scaleWidth() const { return scaleWidth_; }

    const QPixmap& picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    // A one-pixel outline in the default text colour; the radius is measured along the
    // horizontal axis, and the circle stays round whatever the scale of the other axis.
    void drawCircle(float x, float y, float radius);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap picture_;
    QImage circles_; // transparent but for the circles, the size of the inside
    // Zero until start-up sets a scale: one user unit is then one pixel.
    float scaleHeight_ = 0.0f;
    float scaleWidth_ = 0.0f;
};

} // namespace drilbank
