#include "core/CFist.h"

#include <algorithm>
#include <cmath>

CFist::CFist(FistKind fistKind, std::uint64_t seed)
    : kind(fistKind), traits(TraitsOf(fistKind)), random(seed) {}

CFist CFist::OfTraits(const FistTraits& traits, std::uint64_t seed) {
    CFist fist(FistKind::kGoodHand, seed);
    fist.traits = traits;
    return fist;
}

FistTraits CFist::TraitsOf(FistKind kind) {
    FistTraits traits;
    switch (kind) {
        case FistKind::kNone:
            break;
        case FistKind::kGoodHand:
            traits.dotJitter = 0.05;
            traits.dashJitter = 0.08;
            traits.dotWeight = 0.05;
            traits.dashWeight = 0.05;
            traits.gapJitter = 0.15;
            traits.spacingDrift = 0.08;
            traits.wordShortening = 1.5;
            break;
        case FistKind::kStraightKey:
            traits.dotJitter = 0.20;
            traits.dashJitter = 0.30;
            traits.dotWeight = 0.30;
            traits.dashWeight = 0.30;
            traits.dashExtra = -0.40;
            // Uneven spacing, yet characters seldom run together: a heavy hand pauses after each.
            traits.gapJitter = 0.30;
            traits.spacingDrift = 0.15;
            traits.characterExtra = 0.30;
            traits.wordShortening = 1.5;
            break;
        case FistKind::kBug:
            // The vibrating arm makes the dots and the gaps between them: no jitter, no weight.
            traits.dashJitter = 0.15;
            traits.dashWeight = 0.10;
            traits.dashExtra = 0.60;
            traits.gapJitter = 0.30;
            traits.spacingDrift = 0.20;
            traits.wordShortening = 1.5;
            break;
    }
    return traits;
}

double CFist::Drift(double& factor) {
    // A first-order autoregressive walk around zero whose spread is the trait's drift.
    factor = kDriftMemory * factor +
             std::sqrt(1.0 - kDriftMemory * kDriftMemory) * traits.spacingDrift * random.Gaussian();
    return std::max(0.3, 1.0 + factor);
}

double CFist::Shape(KeyInterval interval, double modelUnits, double dotUnits) {
    if (kind == FistKind::kNone) {
        return modelUnits;
    }
    const double keyDownFloor = dotUnits / 3.0;
    switch (interval) {
        case KeyInterval::kDot:
            lastWasDash = false;
            return std::max(keyDownFloor, modelUnits + traits.dotWeight * dotUnits +
                                              traits.dotJitter * dotUnits * random.Gaussian());
        case KeyInterval::kDash:
            lastWasDash = true;
            return std::max(keyDownFloor, modelUnits +
                                              (traits.dashWeight + traits.dashExtra) * dotUnits +
                                              traits.dashJitter * dotUnits * random.Gaussian());
        case KeyInterval::kElementGap: {
            const double weight = lastWasDash ? traits.dashWeight : traits.dotWeight;
            const double jitter = lastWasDash ? traits.dashJitter : traits.dotJitter;
            return std::max(keyDownFloor,
                            modelUnits - weight * dotUnits + jitter * dotUnits * random.Gaussian());
        }
        case KeyInterval::kCharacterGap:
            return std::max(
                dotUnits,
                modelUnits * Drift(characterDrift) +
                    (traits.characterExtra + traits.gapJitter * random.Gaussian()) * dotUnits);
        case KeyInterval::kWordGap:
            return std::max(
                2.0 * dotUnits,
                modelUnits * Drift(wordDrift) +
                    (traits.gapJitter * random.Gaussian() - traits.wordShortening) * dotUnits);
        case KeyInterval::kFurtherSpace:
        case KeyInterval::kStartSignGap:
            return std::max(2.0 * dotUnits, modelUnits * Drift(wordDrift) +
                                                traits.gapJitter * dotUnits * random.Gaussian());
    }
    return modelUnits;
}
