#include "doc/refs/reference_colours.h"

#include <algorithm>
#include <cmath>

namespace oryx::doc {
namespace {

// The find bar's text field holds this red while it finds no match.
const QColor kNoMatchRed(255, 205, 205);
constexpr double kReadable = 4.5;

double Channel(double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); }

double Luminance(const QColor& c) {
    return 0.2126 * Channel(c.redF()) + 0.7152 * Channel(c.greenF()) + 0.0722 * Channel(c.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor DanglingColour(const QColor& base) {
    const bool darkBase = Luminance(base) < 0.18;
    QColor red = kNoMatchRed;
    // Same hue; lightness moves away from the base a step at a time.
    for (int step = 0; step < 100 && ContrastRatio(red, base) < kReadable; ++step) {
        const float lightness = red.lightnessF();
        red.setHslF(red.hslHueF(), red.hslSaturationF(),
                    std::clamp(lightness + (darkBase ? 0.02f : -0.02f), 0.0f, 1.0f));
    }
    return red;
}

}  // namespace oryx::doc
