#include "print/Contrast.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

QPalette WithReadableDisabledText(QPalette palette) {
    const std::pair<QPalette::ColorRole, QPalette::ColorRole> pairs[] = {
        {QPalette::ButtonText, QPalette::Button},
        {QPalette::WindowText, QPalette::Window},
        {QPalette::Text, QPalette::Base}};
    for (const auto& [textRole, backgroundRole] : pairs) {
        const QColor background = palette.color(QPalette::Disabled, backgroundRole);
        const QColor disabled = Composited(palette.color(QPalette::Disabled, textRole), background);
        if (ContrastRatio(disabled, background) >= kDisabledTextContrast) {
            continue;
        }
        // The enabled text, a step at a time towards the background while it stays readable.
        const QColor enabled = Composited(palette.color(QPalette::Active, textRole), background);
        QColor readable = enabled;
        for (int share = 10; share <= 90; share += 10) {
            const auto mix = [share](int from, int to) {
                return (from * (100 - share) + to * share + 50) / 100;
            };
            const QColor blended(mix(enabled.red(), background.red()),
                                 mix(enabled.green(), background.green()),
                                 mix(enabled.blue(), background.blue()));
            if (ContrastRatio(blended, background) < kDisabledTextContrast) {
                break;
            }
            readable = blended;
        }
        palette.setColor(QPalette::Disabled, textRole, readable);
    }
    return palette;
}
