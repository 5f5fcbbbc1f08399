#pragma once

#include <QBrush>
#include <QIcon>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>

#include <vector>

// The program's picture, drawn rather than shipped: a blue tile with a wave and
// an orange arrow pointing down into it. The window paints it from Shapes(), and
// the installed icon files are made from the same shapes (tools/makeicon).
namespace AppIcon {

// The shapes' coordinates lie on a square canvas of this many units.
inline constexpr int CanvasSize = 64;

// One shape: its outline, stroked with `pen` and filled with `brush`.
struct Shape {
    QPainterPath path;
    QPen pen;
    QBrush brush;
};

// Back to front.
std::vector<Shape> Shapes();

QImage Image(int size);
QPixmap Pixmap(int size);
QIcon Icon();

} // namespace AppIcon
