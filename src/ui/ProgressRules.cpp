#include "ui/ProgressRules.h"

#include "util/Formatting.h"

#include <algorithm>
#include <cmath>

namespace ProgressRules {

std::optional<int> Percent(const QVariant &status)
{
    double value = 0;
    switch (status.typeId()) {
    case QMetaType::QString:
        if (!Formatting::ParseNumberText(status.toString(), &value))
            return std::nullopt;
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Double:
        value = status.toDouble();
        break;
    default:
        return std::nullopt;
    }
    if (std::isnan(value))
        return std::nullopt;
    // Clamp before converting so that huge values cannot overflow the int.
    return int(std::clamp(Formatting::RoundHalfEven(value, 0), 0.0, 100.0));
}

int BarWidth(int percent, int width)
{
    return int(std::lround(double(std::clamp(percent, 0, 100)) * width / 100.0));
}

} // namespace ProgressRules
