#include "output/CClockMapping.h"

#include <algorithm>
#include <cmath>

namespace {

// Weight of one step towards the windowed minimum.
constexpr double kSmoothing = 0.05;
// The minimum is taken over the current and the previous block of this length.
constexpr std::int64_t kBlockNanoseconds = 250000000;
// An observation this far from the origin is a discontinuity (a stalled stream), not jitter.
constexpr double kJumpNanoseconds = 100e6;
// The start of a stream (its buffers filled at once) and the moments after a restart are not
// representative of the callback's steady rhythm; the lead is measured after this long.
constexpr std::int64_t kSettleNanoseconds = 100000000;

}  // namespace

CClockMapping::CClockMapping(double sampleRate) : nanosecondsPerSample(1e9 / sampleRate) {}

void CClockMapping::Observe(std::int64_t nowNanoseconds, std::int64_t firstSample, bool underrun) {
    const double sampleTime = static_cast<double>(firstSample) * nanosecondsPerSample;
    const double observed = static_cast<double>(nowNanoseconds) - sampleTime;
    if (observations == 0 || underrun) {
        origin = observed;
    } else {
        origin += (observed - origin) * kSmoothing;
        // An event keyed just after the previous callback is first rendered in this buffer.
        const auto wait =
            static_cast<std::int64_t>(std::llround(origin + sampleTime)) - previousNow;
        if (wait > requiredLead) {
            requiredLead = wait;
        }
    }
    previousNow = nowNanoseconds;
    ++observations;
}

std::int64_t CClockMapping::SteadyNanoseconds(std::int64_t nowNanoseconds) const {
    return observations == 0 ? 0 : nowNanoseconds - steadySince;
}

void CClockMapping::Reset() {
    origin = 0.0;
    blockMinimum = 0.0;
    previousBlockMinimum = 0.0;
    blockStart = 0;
    previousNow = 0;
    requiredLead = 0;
    observations = 0;
    steadySince = 0;
}

std::int64_t CClockMapping::OriginNanoseconds() const {
    return static_cast<std::int64_t>(std::llround(origin));
}
