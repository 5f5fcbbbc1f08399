#include "ui/ThemeButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace {

// Greedy word wrap: as many words on a line as fit `width`.
QString Wrapped(const QString &caption, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(caption) <= width)
        return caption;
    QString result;
    QString line;
    for (const QString &word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            result += line + QLatin1Char('\n');
            line = word;
        } else {
            line = candidate;
        }
    }
    return result + line;
}

} // namespace

ThemeButton::ThemeButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

void ThemeButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    option.text = Wrapped(option.text, option.fontMetrics, contents.width());
    painter.drawControl(QStyle::CE_PushButton, option);
}
