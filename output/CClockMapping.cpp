#include "output/CClockMapping.h"

#include <algorithm>
#include <cmath>

namespace {

// Weight of one observation in the smoothing towards the windowed minimum.
constexpr double kSmoothing = 0.05;
// The minimum is taken over the current and the previous block of this length.
constexpr std::int64_t kBlockNanoseconds = 250000000;
// An observation this far from the origin is a discontinuity (a stalled stream), not jitter.
constexpr double kJumpNanoseconds = 100e6;
// The start of a stream (its buffers filled at once) and the moments after a restart are not
// representative of the callback's steady rhythm, and the origin is still settling on its
// minimum; the lead is measured only after this long.
constexpr std::int64_t kSettleNanoseconds = 250000000;

}  // namespace

CClockMapping::CClockMapping(double sampleRate) : nanosecondsPerSample(1e9 / sampleRate) {}

void CClockMapping::Restart(std::int64_t nowNanoseconds, double observed) {
    origin = observed;
    blockMinimum = observed;
    previousBlockMinimum = observed;
    blockStart = nowNanoseconds;
    steadySince = nowNanoseconds;
}

void CClockMapping::Observe(std::int64_t nowNanoseconds, std::int64_t firstSample,
                            std::int64_t frames, bool underrun) {
    const double observed = static_cast<double>(nowNanoseconds) -
                            static_cast<double>(firstSample) * nanosecondsPerSample;
    ++observations;
    if (observations == 1 || underrun || std::abs(observed - origin) > kJumpNanoseconds) {
        Restart(nowNanoseconds, observed);
        return;
    }
    if (nowNanoseconds - blockStart >= kBlockNanoseconds) {
        previousBlockMinimum = blockMinimum;
        blockMinimum = observed;
        blockStart = nowNanoseconds;
    } else {
        blockMinimum = std::min(blockMinimum, observed);
    }
    const double target = std::min(blockMinimum, previousBlockMinimum);
    // The first block after a restart takes its minimum at once; later ones are smoothed.
    origin = nowNanoseconds - steadySince < kBlockNanoseconds
                 ? target
                 : origin + (target - origin) * kSmoothing;
    if (nowNanoseconds - steadySince >= kSettleNanoseconds) {
        const double bufferEnd =
            origin + static_cast<double>(firstSample + frames) * nanosecondsPerSample;
        const auto need = static_cast<std::int64_t>(std::llround(bufferEnd)) - nowNanoseconds;
        requiredLead = std::max(requiredLead, need);
    }
}

std::int64_t CClockMapping::SteadyNanoseconds(std::int64_t nowNanoseconds) const {
    return observations == 0 ? 0 : nowNanoseconds - steadySince;
}

void CClockMapping::Reset() {
    origin = 0.0;
    blockMinimum = 0.0;
    previousBlockMinimum = 0.0;
    blockStart = 0;
    requiredLead = 0;
    observations = 0;
    steadySince = 0;
}

std::int64_t CClockMapping::OriginNanoseconds() const {
    return static_cast<std::int64_t>(std::llround(origin));
}
