#pragma once

#include "ui/AppIcon.h"

#include <QByteArray>
#include <QString>

#include <vector>

// Writes shapes as an SVG document on a square canvas, element for element: each
// QPainterPath becomes one <path>, its pen the stroke and its brush the fill (a
// colour or a linear gradient). A pen or brush SVG cannot express the same way
// is refused with a description.
namespace IconSvg {

bool Write(const std::vector<AppIcon::Shape> &shapes, int canvasSize, QByteArray *svg, QString *error);

} // namespace IconSvg
