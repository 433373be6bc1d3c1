#include "output/CClockMapping.h"

#include <cmath>

namespace {

// Weight of one observation: about a second of callbacks at common buffer sizes.
constexpr double kSmoothing = 0.02;

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

void CClockMapping::Reset() {
    origin = 0.0;
    previousNow = 0;
    requiredLead = 0;
    observations = 0;
}

std::int64_t CClockMapping::OriginNanoseconds() const {
    return static_cast<std::int64_t>(std::llround(origin));
}
