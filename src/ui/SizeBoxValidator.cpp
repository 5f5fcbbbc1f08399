#include "ui/SizeBoxValidator.h"

#include <algorithm>

SizeBoxValidator::SizeBoxValidator(QObject *parent)
    : QValidator(parent)
{
}

QValidator::State SizeBoxValidator::validate(QString &input, int &) const
{
    if (input.isEmpty())
        return Acceptable;
    const bool digitsOnly = std::all_of(input.cbegin(), input.cend(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
    if (!digitsOnly)
        return Invalid;
    bool ok = false;
    const int size = input.toInt(&ok);
    return ok && size <= MaximumSize ? Acceptable : Invalid;
}
