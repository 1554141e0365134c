#pragma once

#include <QColor>

namespace oryx::doc {

// The contrast ratio of two colours as WCAG defines it (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// The red of a dangling reference on `base`: the find bar's "No match" red,
// darkened on a light base (lightened on a dark one) until it reads at
// 4.5:1 at least.
QColor DanglingColour(const QColor& base);

}  // namespace oryx::doc
