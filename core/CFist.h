#pragma once

#include <cstdint>

#include "core/CSeededRandom.h"

// Whose hand keys a transmission. The numbers are stored in the conditions file.
enum class FistKind : int {
    kNone = 0,         // the timing model, exactly
    kGoodHand = 1,     // a steady operator on a straight key or paddle
    kStraightKey = 2,  // a poor straight key: uneven, heavy, short dashes, wandering spacing
    kBug = 3,          // a semi-automatic key: the machine's dots, the hand's long dashes
};

// The model's intervals, in the order a keyer meets them.
enum class KeyInterval {
    kDot,
    kDash,
    kElementGap,    // the gap of one dot after every element
    kCharacterGap,  // after the last element gap of a character
    kWordGap,       // after the character gap of a word's last character
    kFurtherSpace,  // each further space of a custom text
    kStartSignGap,  // after the start sign
};

// What a fist does to the model's intervals, each as a share of the model's dot.
struct FistTraits {
    double dotJitter = 0.0;       // standard deviation of a dot and of the gap after it
    double dashJitter = 0.0;      // standard deviation of a dash and of the gap after it
    double dotWeight = 0.0;       // a dot is this much longer, the gap after it this much shorter
    double dashWeight = 0.0;      // likewise for a dash
    double dashExtra = 0.0;       // a dash is this much longer (or, below zero, shorter) still
    double gapJitter = 0.0;       // standard deviation of a character, word or further gap
    double spacingDrift = 0.0;    // standard deviation of the slowly wandering factor of those gaps
    double characterExtra = 0.0;  // a character gap is this much longer
    // A word gap is this much shorter: operators leave some five to six dots between words,
    // where the model has seven; a slower text speed's longer gaps keep what they add.
    double wordShortening = 0.0;
    bool operator==(const FistTraits&) const = default;
};

// A fist: maps each of the model's intervals to the length a hand (or a bug) keys it, with the
// jitter, weight and drifting spacing of its kind, from its own seeded random numbers. Shape is
// called once per interval in keying order, by the live engine and by an offline timeline alike,
// so that the same seed keys the same lengths in both. With FistKind::kNone every interval is the
// model's, unchanged. Never allocates; one thread at a time.
class CFist {
public:
    // Each character gap and word gap moves its drifting factor this far towards a new draw.
    static constexpr double kDriftMemory = 0.95;

    CFist(FistKind kind, std::uint64_t seed);

    static FistTraits TraitsOf(FistKind kind);
    // A hand of these traits, such as one fitted to a learner's own sending; Kind() tells it as
    // a good hand's.
    static CFist OfTraits(const FistTraits& traits, std::uint64_t seed);
    // The fist that keys the wanted signal of a transmission keyed from `seed`: live and in a
    // sound file alike, so that one seed keys the same lengths in both.
    static CFist OfTransmission(FistKind kind, std::uint64_t seed) {
        return CFist(kind, CSeededRandom::Derive(seed, SeedStream::kWantedFist));
    }

    // The length to key in place of the model's `modelUnits` for `interval`, both in 100-ns
    // units, `dotUnits` being the model's dot. Never shorter than a third of a dot for a key-down
    // or an element gap, a dot for a character gap, two dots for a longer gap.
    double Shape(KeyInterval interval, double modelUnits, double dotUnits);

    FistKind Kind() const { return kind; }

private:
    double Drift(double& factor);

    FistKind kind;
    FistTraits traits;
    CSeededRandom random;
    bool lastWasDash = false;
    double characterDrift = 0.0;
    double wordDrift = 0.0;
};
