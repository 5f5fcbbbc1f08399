#pragma once

#include <QColor>
#include <QVariant>

#include <optional>

// How a download's status cell reads as a progress bar. While a transfer runs the
// cell holds a number of percent; any other time it holds a word.
namespace ProgressRules {

// The whole percentage a numeric status shows: rounded half to even, then held
// within 0..100. Empty for a word (or anything else that is not a number).
std::optional<int> Percent(const QVariant &status);

// The filled width of a bar `width` pixels wide at `percent`, to the nearest pixel.
int BarWidth(int percent, int width);

// The contrast ratio of two colours by WCAG 2, from 1 to 21.
double ContrastRatio(const QColor &first, const QColor &second);

// The contrast the percentage needs over both parts of the bar (WCAG AA).
inline constexpr double MinimumContrast = 4.5;

// The bar's two colours: the filled part and the rest, each the text colour
// over the other. They start as the system's highlight and highlight text; a
// highlight too close to its text is darkened (or, on a dark text colour,
// lightened) until they differ by MinimumContrast.
struct BarColours {
    QColor bar;
    QColor rest;
};
BarColours ReadableBarColours(const QColor &highlight, const QColor &highlightText);

} // namespace ProgressRules
