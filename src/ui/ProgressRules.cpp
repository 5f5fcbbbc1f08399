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

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

} // namespace

double ContrastRatio(const QColor &first, const QColor &second)
{
    const double a = Luminance(first);
    const double b = Luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

BarColours ReadableBarColours(const QColor &highlight, const QColor &highlightText)
{
    BarColours colours{highlight.toRgb(), highlightText.toRgb()};
    const bool darkenBar = Luminance(colours.rest) >= 0.5;
    // Each step moves the lightness by 10 %, keeping the hue: a few steps at most.
    for (int step = 0; step < 64 && ContrastRatio(colours.bar, colours.rest) < MinimumContrast; ++step)
        colours.bar = darkenBar ? colours.bar.darker(110) : colours.bar.lighter(110);
    if (ContrastRatio(colours.bar, colours.rest) < MinimumContrast)
        colours.bar = darkenBar ? QColor(Qt::black) : QColor(Qt::white);
    if (ContrastRatio(colours.bar, colours.rest) < MinimumContrast) // a mid-grey text colour
        colours.rest = darkenBar ? QColor(Qt::white) : QColor(Qt::black);
    // As painted: 8-bit RGB.
    return {QColor(colours.bar.rgb()), QColor(colours.rest.rgb())};
}

} // namespace ProgressRules
