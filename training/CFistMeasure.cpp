#include "training/CFistMeasure.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

constexpr double kNanosecondsPerSecond = 1e9;
// The program's sign speed: a dot of 6 / speed seconds.
constexpr double kSpeedTimesDotSeconds = 6.0;

}  // namespace

FistMeasure MeasureFist(const CSendingDecoder& decoder, double modelDashRatio) {
    using K = CSendingDecoder::Kind;
    FistMeasure measure;
    const std::vector<CSendingDecoder::Interval>& intervals = decoder.Intervals();
    double dotSum = 0.0;
    int dotCount = 0;
    for (const auto& interval : intervals) {
        if (interval.kind == K::kDot) {
            dotSum += static_cast<double>(interval.nanoseconds);
            ++dotCount;
        }
    }
    measure.dotNanoseconds = dotCount > 0 ? dotSum / dotCount : decoder.DotNanoseconds();
    const double dot = measure.dotNanoseconds;
    if (dot <= 0.0) {
        return measure;
    }
    measure.signSpeed = kSpeedTimesDotSeconds * kNanosecondsPerSecond / dot;
    const double models[] = {1.0, modelDashRatio, 1.0, 3.0, 7.0};
    std::array<double, K::kKindCount> squares{};
    for (std::size_t k = 0; k < K::kKindCount; ++k) {
        measure.kinds[k].model = models[k];
    }
    // Per character, element and kind: the summed distance from the model and the count.
    std::map<std::tuple<char, int, int>, std::pair<double, int>> places;
    const std::string& characters = decoder.Characters();
    for (const auto& interval : intervals) {
        const double dots = static_cast<double>(interval.nanoseconds) / dot;
        if ((interval.kind == K::kWordGap && dots > FistMeasure::kLongestWordGapDots) ||
            (interval.kind == K::kDash && dots > FistMeasure::kLongestMarkDots)) {
            continue;
        }
        FistMeasure::Figures& figures = measure.kinds[interval.kind];
        ++figures.count;
        figures.mean += dots;
        squares[interval.kind] += dots * dots;
        const auto bin = std::min(FistMeasure::kBins - 1,
                                  static_cast<std::size_t>(dots / FistMeasure::kBinDots));
        ++figures.histogram[bin];
        if (interval.kind <= K::kElementGap && interval.character < characters.size()) {
            auto& place = places[{characters[interval.character], interval.element,
                                  static_cast<int>(interval.kind)}];
            place.first += std::fabs(dots - models[interval.kind]);
            ++place.second;
        }
    }
    for (std::size_t k = 0; k < K::kKindCount; ++k) {
        FistMeasure::Figures& figures = measure.kinds[k];
        if (figures.count > 0) {
            figures.mean /= figures.count;
            figures.spread =
                std::sqrt(std::max(0.0, squares[k] / figures.count - figures.mean * figures.mean));
        }
    }
    measure.dashRatio = measure.kinds[K::kDash].count > 0 ? measure.kinds[K::kDash].mean : 0.0;
    for (const auto& [key, sum] : places) {
        measure.breaks.push_back({std::get<0>(key), std::get<1>(key),
                                  static_cast<K>(std::get<2>(key)), sum.first / sum.second,
                                  sum.second});
    }
    std::sort(measure.breaks.begin(), measure.breaks.end(),
              [](const FistMeasure::Break& a, const FistMeasure::Break& b) {
                  return a.offDots > b.offDots;
              });
    if (measure.breaks.size() > FistMeasure::kMostBreaks) {
        measure.breaks.resize(FistMeasure::kMostBreaks);
    }
    return measure;
}

std::optional<FittedFist> FitFist(const FistMeasure& measure, double modelDashRatio) {
    using K = CSendingDecoder::Kind;
    const FistMeasure::Figures& dots = measure.kinds[K::kDot];
    const FistMeasure::Figures& gaps = measure.kinds[K::kElementGap];
    if (dots.count == 0 || gaps.count == 0 || measure.dotNanoseconds <= 0.0) {
        return std::nullopt;
    }
    // In the learner's dots: a dot is u (1 + w), the gap after it u (1 - w).
    const double unit = (dots.mean + gaps.mean) / 2.0;
    FittedFist fitted;
    FistTraits& traits = fitted.traits;
    traits.dotWeight = (dots.mean - gaps.mean) / 2.0 / unit;
    traits.dashWeight = traits.dotWeight;
    traits.dotJitter = dots.spread / unit;
    traits.dashJitter = traits.dotJitter;
    traits.gapJitter = gaps.spread / unit;
    const FistMeasure::Figures& dashes = measure.kinds[K::kDash];
    if (dashes.count > 0) {
        traits.dashExtra = dashes.mean / unit - modelDashRatio - traits.dashWeight;
        traits.dashJitter = dashes.spread / unit;
    }
    // A character gap is the last element gap and the model's two dots more; a word gap the
    // character gap and four dots more.
    const FistMeasure::Figures& characterGaps = measure.kinds[K::kCharacterGap];
    if (characterGaps.count > 0) {
        traits.characterExtra = (characterGaps.mean - gaps.mean) / unit - 2.0;
        traits.gapJitter = characterGaps.spread / unit;
        const FistMeasure::Figures& wordGaps = measure.kinds[K::kWordGap];
        if (wordGaps.count > 0) {
            traits.wordShortening = 4.0 - (wordGaps.mean - characterGaps.mean) / unit;
        }
    }
    fitted.signSpeed = static_cast<int>(std::lround(kSpeedTimesDotSeconds * kNanosecondsPerSecond /
                                                    (measure.dotNanoseconds * unit)));
    return fitted;
}
