#include "core/Timing.h"

#include <cmath>

TimingValues ComputeTiming(int signSpeed, int textSpeed, double dashRatio) {
    TimingValues timing;
    const double d = 60.0 / (signSpeed * 0.2) * 0.02;
    const double e = 60.0 / (textSpeed * 0.2) * 0.02;
    const double w = (dashRatio - 3.0) * 4.0 + 50.0;
    const double s = d + (w * e - d * w) * 0.05263157894736842;
    timing.dotSeconds = d;
    timing.spacingSeconds = s;
    timing.dotUnits = d * kUnitsPerSecond;
    timing.spacingUnits = s * kUnitsPerSecond;
    return timing;
}

double DashUnits(const TimingValues& timing, double dashMultiplier) {
    return dashMultiplier * timing.dotUnits;
}

double ElementGapUnits(const TimingValues& timing) {
    return timing.dotUnits;
}

double CharacterGapUnits(const TimingValues& timing) {
    return 3 * timing.spacingUnits - timing.dotUnits;
}

double WordGapUnits(const TimingValues& timing) {
    return 4 * timing.spacingUnits;
}

double FurtherSpaceUnits(const TimingValues& timing) {
    return 7 * timing.spacingUnits;
}

double StartSignGapUnits(const TimingValues& timing) {
    return 7 * timing.spacingUnits - timing.dotUnits;
}

double RoundHalfAway(double x, int decimals) {
    double y = x * std::pow(10.0, decimals + 1);
    y = y >= 0.0 ? y + 5.0 : y - 5.0;
    return std::trunc(y * 0.1) / std::pow(10.0, decimals);
}

int EffectiveTextSpeed(const TimingValues& timing, double dashRatio) {
    const double word =
        timing.dotSeconds * (1550.0 + 200.0 * (dashRatio - 3.0)) + timing.spacingSeconds * 950.0;
    return static_cast<int>(RoundHalfAway(15000.0 / word, 0));
}

int EffectiveSignSpeed(const TimingValues& timing, double dashRatio) {
    const double word = timing.dotSeconds * (2500.0 + 200.0 * (dashRatio - 3.0));
    return static_cast<int>(RoundHalfAway(15000.0 / word, 0));
}

int SignIndexAfterTextChange(int textIndex, int signIndex) {
    if (!IsIndexOf(kTextSpeeds, textIndex) || !IsIndexOf(kSignSpeeds, signIndex)) {
        return signIndex;
    }
    const int textSpeed = kTextSpeeds[textIndex];
    // Both lists end at 200, so the search always stops inside the sign list.
    while (kSignSpeeds[signIndex] < textSpeed &&
           static_cast<std::size_t>(signIndex) + 1 < kSignSpeeds.size()) {
        ++signIndex;
    }
    return signIndex;
}

int TextIndexAfterSignChange(int signIndex, int textIndex) {
    if (!IsIndexOf(kTextSpeeds, textIndex) || !IsIndexOf(kSignSpeeds, signIndex)) {
        return textIndex;
    }
    const int signSpeed = kSignSpeeds[signIndex];
    // The text list starts below the sign list, so the search always stops inside it.
    while (kTextSpeeds[textIndex] > signSpeed && textIndex > 0) {
        --textIndex;
    }
    return textIndex;
}
