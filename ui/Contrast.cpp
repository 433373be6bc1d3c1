#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor Composited(const QColor& ink, const QColor& background) {
    const QColor top = ink.toRgb();
    const QColor bottom = background.toRgb();
    const int alpha = top.alpha();
    const auto mix = [alpha](int over, int under) {
        return (over * alpha + under * (255 - alpha) + 127) / 255;
    };
    return {mix(top.red(), bottom.red()), mix(top.green(), bottom.green()),
            mix(top.blue(), bottom.blue())};
}

QColor ReadableInk(const QColor& preferred, const QColor& fallback, const QColor& background,
                   double minimum) {
    const QColor ink = Composited(preferred, background);
    return ContrastRatio(ink, background) >= minimum ? ink : Composited(fallback, background);
}
