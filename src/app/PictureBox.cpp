#include "app/PictureBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace drilbank {

PictureBox::PictureBox(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
}

void PictureBox::setScale(float height, float width) {
    scaleHeight_ = height;
    scaleWidth_ = width;
}

void PictureBox::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PictureBox::drawCircle(float x, float y, float radius) {
    const QSizeF inside = contentsRect().size();
    const double unitsToPixelsAcross = scaleWidth_ > 0.0f ? inside.width() / scaleWidth_ : 1.0;
    const double unitsToPixelsDown = scaleHeight_ > 0.0f ? inside.height() / scaleHeight_ : 1.0;
    const QPointF centre(x * unitsToPixelsAcross, y * unitsToPixelsDown);
    const double pixels = radius * unitsToPixelsAcross;
    QPainter painter(&circles_);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, pixels, pixels);
    painter.end();
    update(contentsRect());
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inside = contentsRect();
    painter.setClipRect(inside);
    painter.drawPixmap(inside.topLeft(), picture_);
    painter.drawImage(inside.topLeft(), circles_);
    if (hasFocus()) {
        // The area takes the focus in the tab order; keyboard users must see where it is.
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inside.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    const qreal ratio = devicePixelRatioF();
    circles_ = QImage(contentsRect().size() * ratio, QImage::Format_ARGB32_Premultiplied);
    circles_.setDevicePixelRatio(ratio);
    circles_.fill(Qt::transparent);
}

} // namespace drilbank
