#pragma once

#include <QColor>
#include <QPalette>

// Luminance contrast of colours as the accessibility guidelines for the web measure it, so that
// text drawn in a colour of our own stays readable on whatever background the palette gives.
// Pure arithmetic; any thread.

// The relative luminance of an opaque colour, from 0 (black) to 1 (white).
double RelativeLuminance(const QColor& colour);
// (L1 + 0.05) / (L2 + 0.05) with L1 the lighter: 1 for equal luminance, 21 for black on white.
double ContrastRatio(const QColor& a, const QColor& b);
// `ink` with its transparency painted over the opaque `background`.
QColor Composited(const QColor& ink, const QColor& background);
// `preferred` (composited over `background`) when it contrasts with it by at least `minimum`,
// else `fallback`.
QColor ReadableInk(const QColor& preferred, const QColor& fallback, const QColor& background,
                   double minimum);

// `palette` with the text of disabled controls readable on their backgrounds: a scheme that
// leaves a disabled colour out (some high-contrast ones do) gives the text the background's own
// colour, and a disabled button then shows nothing at all. Such a text becomes the enabled text
// blended towards the background, just dim enough to tell it from enabled text.
QPalette WithReadableDisabledText(QPalette palette);

// Disabled text keeps at least this contrast (that of large text), below that of enabled text.
inline constexpr double kDisabledTextContrast = 3.0;

// Large bold text (the Morse text, the marks of a check) is readable from this contrast on.
inline constexpr double kLargeTextContrast = 3.0;
