#pragma once

#include <QtGlobal>

// Window measures are kept in twips (1/1440 inch): 15 twips make one pixel at 96
// logical dots per inch, and proportionally more pixels on a denser screen.
namespace Twips {

int ToPixels(int twips, qreal logicalDpi);

} // namespace Twips
