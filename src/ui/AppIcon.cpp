#include "ui/AppIcon.h"

#include "ui/Theme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace AppIcon {

QPixmap Pixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 64.0, size / 64.0);

    QLinearGradient tile(0, 0, 0, 64);
    tile.setColorAt(0, QColor(Theme::MidBlue));
    tile.setColorAt(1, QColor(Theme::LightBlue));
    painter.setPen(QPen(QColor(Theme::Navy), 2));
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The tide: two waves across the lower part of the tile.
    painter.setBrush(Qt::NoBrush);
    for (int row = 0; row < 2; ++row) {
        const qreal y = 44 + row * 8;
        QPainterPath wave(QPointF(8, y));
        wave.cubicTo(QPointF(16, y - 6), QPointF(24, y + 6), QPointF(32, y));
        wave.cubicTo(QPointF(40, y - 6), QPointF(48, y + 6), QPointF(56, y));
        painter.setPen(QPen(QColor(row == 0 ? Theme::Navy : 0xFFFFFF), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(wave);
    }

    // The arrow: a download coming in.
    QPainterPath arrow;
    arrow.moveTo(26, 8);
    arrow.lineTo(38, 8);
    arrow.lineTo(38, 24);
    arrow.lineTo(47, 24);
    arrow.lineTo(32, 40);
    arrow.lineTo(17, 24);
    arrow.lineTo(26, 24);
    arrow.closeSubpath();
    painter.setPen(QPen(QColor(0x8A3B00), 1.5));
    painter.setBrush(QColor(0xFF8C1A));
    painter.drawPath(arrow);
    return pixmap;
}

QIcon Icon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(Pixmap(size));
    return icon;
}

} // namespace AppIcon
