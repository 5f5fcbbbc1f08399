#include "ui/Twips.h"

#include <QWidget>

#include <cmath>

namespace Twips {

int ToPixels(int twips, qreal logicalDpi)
{
    return int(std::lround(twips * logicalDpi / 1440.0));
}

qreal LayoutDpi(qreal logicalDpi, qreal pointSize)
{
    return pointSize > 0 ? logicalDpi * pointSize / 8.0 : logicalDpi;
}

qreal LayoutDpi(const QWidget &widget)
{
    const QWidget &window = *widget.window();
    const QFont font = window.font();
    const qreal points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 72.0 / window.logicalDpiY();
    return LayoutDpi(window.logicalDpiX(), points);
}

QFont LayoutFont(QFont font, qreal points)
{
    const qreal scale = points / 8.0;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(int(std::lround(font.pixelSize() * scale)));
    return font;
}

} // namespace Twips
