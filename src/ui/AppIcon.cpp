#include "ui/AppIcon.h"

#include "ui/Theme.h"

#include <QLinearGradient>
#include <QPainter>

namespace AppIcon {

namespace {

Shape Tile()
{
    QPainterPath tile;
    tile.addRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QLinearGradient gradient(0, 0, 0, CanvasSize);
    gradient.setColorAt(0, QColor(Theme::MidBlue));
    gradient.setColorAt(1, QColor(Theme::LightBlue));
    return {tile, QPen(QColor(Theme::Navy), 2), gradient};
}

// The tide: a wave across the lower part of the tile.
Shape Wave(qreal y, QRgb colour)
{
    QPainterPath wave(QPointF(8, y));
    wave.cubicTo(QPointF(16, y - 6), QPointF(24, y + 6), QPointF(32, y));
    wave.cubicTo(QPointF(40, y - 6), QPointF(48, y + 6), QPointF(56, y));
    return {wave, QPen(QColor(colour), 3, Qt::SolidLine, Qt::RoundCap), Qt::NoBrush};
}

// The arrow: a download coming in.
Shape Arrow()
{
    QPainterPath arrow;
    arrow.moveTo(26, 8);
    arrow.lineTo(38, 8);
    arrow.lineTo(38, 24);
    arrow.lineTo(47, 24);
    arrow.lineTo(32, 40);
    arrow.lineTo(17, 24);
    arrow.lineTo(26, 24);
    arrow.closeSubpath();
    return {arrow, QPen(QColor(0x8A3B00), 1.5), QColor(0xFF8C1A)};
}

} // namespace

std::vector<Shape> Shapes()
{
    return {Tile(), Wave(44, Theme::Navy), Wave(52, 0xFFFFFF), Arrow()};
}

QImage Image(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(qreal(size) / CanvasSize, qreal(size) / CanvasSize);
    for (const Shape &shape : Shapes()) {
        painter.setPen(shape.pen);
        painter.setBrush(shape.brush);
        painter.drawPath(shape.path);
    }
    return image;
}

QPixmap Pixmap(int size)
{
    return QPixmap::fromImage(Image(size));
}

QIcon Icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Pixmap(size));
    return icon;
}

} // namespace AppIcon
