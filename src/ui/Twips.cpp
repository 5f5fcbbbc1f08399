#include "ui/Twips.h"

#include <cmath>

namespace Twips {

int ToPixels(int twips, qreal logicalDpi)
{
    return int(std::lround(twips * logicalDpi / 1440.0));
}

} // namespace Twips
