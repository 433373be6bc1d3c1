#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/CFist.h"
#include "training/CSendingDecoder.h"

// The measure of a learner's fist from what the decoder read, against the timing model (dot 1,
// dash the ratio, element gap 1, character gap 3, word gap 7, in dots): for each kind of interval
// its count, mean and spread in the learner's own dots (the mean of the dots sent) with its lengths
// counted in a histogram; the dash:dot ratio; the speed; and the places where the rhythm breaks
// most: which element (or the gap after it) of which character lies furthest from the model on
// average. Plain functions and data.
struct FistMeasure {
    // Histogram bins of a quarter of a dot, from 0 to 10 dots (the last bin takes all above).
    static constexpr double kBinDots = 0.25;
    static constexpr std::size_t kBins = 40;
    // A silence longer than this many dots is a pause, not a word gap: it is not measured.
    static constexpr double kLongestWordGapDots = 30.0;
    // A mark longer than this many dots is the key held down, not a dash: it is not measured.
    static constexpr double kLongestMarkDots = 10.0;

    struct Figures {
        int count = 0;
        double mean = 0.0;    // in dots
        double spread = 0.0;  // standard deviation, in dots
        double model = 0.0;   // the model's length, in dots
        std::array<int, kBins> histogram{};
    };
    std::array<Figures, CSendingDecoder::kKindCount> kinds{};
    double dotNanoseconds = 0.0;
    double dashRatio = 0.0;
    // Characters a minute at the learner's dot, as the program's sign speed counts them.
    double signSpeed = 0.0;

    struct Break {
        char character = 0;
        int element = 0;  // from 0
        CSendingDecoder::Kind kind = CSendingDecoder::kDot;
        double offDots = 0.0;  // mean distance from the model
        int count = 0;
    };
    // At most kMostBreaks, the furthest first.
    static constexpr std::size_t kMostBreaks = 3;
    std::vector<Break> breaks;
};

FistMeasure MeasureFist(const CSendingDecoder& decoder, double modelDashRatio = 3.0);

// The program's fist model fitted to a measured fist, so that a text keyed by it at `signSpeed`
// is heard as the learner sent it: the model's dot is the mean of a dot and the gap after it, the
// weight the difference of the two; the dash's extra, the character gap's extra and the word gap's
// shortening are what the means lack of the model; the jitters are the spreads.
struct FittedFist {
    FistTraits traits;
    int signSpeed = 0;  // characters a minute
};
// Nothing to fit without dots and element gaps.
std::optional<FittedFist> FitFist(const FistMeasure& measure, double modelDashRatio = 3.0);
