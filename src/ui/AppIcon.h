#pragma once

#include <QIcon>
#include <QPixmap>

// The program's picture, drawn rather than shipped: a blue tile with a wave and
// an orange arrow pointing down into it.
namespace AppIcon {

QPixmap Pixmap(int size);
QIcon Icon();

} // namespace AppIcon
