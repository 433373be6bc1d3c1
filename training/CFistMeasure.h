#pragma once

#include <array>
#include <string>
#include <vector>

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
