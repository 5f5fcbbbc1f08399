#pragma once

#include <QFont>
#include <QtGlobal>

class QWidget;

// Window measures are kept in twips (1/1440 inch): 15 twips make one pixel at 96
// logical dots per inch, and proportionally more pixels on a denser screen.
namespace Twips {

int ToPixels(int twips, qreal logicalDpi);

// The dots per inch a layout measured for 8-point text is drawn at, when the
// text is `pointSize` points: the layout keeps its proportions to the text.
qreal LayoutDpi(qreal logicalDpi, qreal pointSize);
// The layout's dots per inch for the window of `widget`, by the window's text size.
qreal LayoutDpi(const QWidget &widget);

// `font` grown as `points` is to the layout's 8 points: in points where it has a
// point size, else in pixels (a desktop font may be given in pixels).
QFont LayoutFont(QFont font, qreal points);

} // namespace Twips
