#include "util/Formatting.h"

#include <QLocale>

#include <cmath>

namespace Formatting {

double RoundHalfEven(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    // nearbyint follows the default rounding mode: to nearest, ties to even.
    return std::nearbyint(value * scale) / scale;
}

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return {};
    if (value == 0.0)
        value = 0.0; // no "-0"
    QString text = QString::number(value, 'g', 15);
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

bool ParseNumberText(const QString &text, double *value)
{
    QString plain = text.trimmed();
    const QString point = QLocale().decimalPoint();
    if (point != QLatin1String("."))
        plain.replace(point, QLatin1String("."));
    bool ok = false;
    const double parsed = plain.toDouble(&ok);
    if (ok && value)
        *value = parsed;
    return ok && !plain.isEmpty();
}

QString FormatFileSize(qint64 size)
{
    constexpr qint64 kib = 1024;
    constexpr qint64 mib = kib * 1024;
    constexpr qint64 gib = mib * 1024;
    if (size < kib)
        return QString::number(size) + QLatin1String(" Bytes");
    qint64 unit = kib;
    QLatin1String name(" KB");
    if (size >= gib) {
        unit = gib;
        name = QLatin1String(" GB");
    } else if (size >= mib) {
        unit = mib;
        name = QLatin1String(" MB");
    }
    return NumberText(RoundHalfEven(double(size) / double(unit), 2)) + name;
}

namespace {

// A whole number with at least two digits after its sign: 05, 59, 100, -01.
QString TwoDigits(qint64 value)
{
    const QString digits = QString::number(value < 0 ? -value : value).rightJustified(2, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString FormatDuration(double seconds)
{
    if (!std::isfinite(seconds) || std::fabs(seconds) > 9.0e15)
        return {};
    if (seconds < 61)
        return QLatin1String("00:00:") + TwoDigits(qint64(std::round(seconds)));
    const qint64 whole = qint64(std::nearbyint(seconds));
    if (seconds < 3600)
        return QLatin1String("00:") + TwoDigits(whole / 60) + QLatin1Char(':') + TwoDigits(whole % 60);
    const qint64 rest = whole % 3600;
    return TwoDigits(whole / 3600) + QLatin1Char(':') + TwoDigits(rest / 60) + QLatin1Char(':')
        + TwoDigits(rest % 60);
}

} // namespace Formatting
