#include "engine/CStepCorrection.h"

#include <cstdlib>
#include <limits>

#include "engine/CTimeSource.h"

namespace {

// A step more than 2 ms off is not corrected in full on the next step.
constexpr std::int64_t kToleranceUnits = 20000;
// An overrun is made good 1 ms per step.
constexpr std::int64_t kCatchUpUnits = 10000;

}  // namespace

std::int32_t TruncateUnits(double units) {
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    if (!(units < kHighest)) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (!(units > kLowest)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(units);
}

std::int32_t CStepCorrection::Shorten(double lengthUnits, std::int64_t& expectedUnits) const {
    if (catchUp > 0) {
        expectedUnits += TruncateUnits(lengthUnits - kCatchUpUnits);
        return TruncateUnits(lengthUnits - running - kCatchUpUnits);
    }
    expectedUnits += TruncateUnits(lengthUnits);
    return TruncateUnits(lengthUnits - running);
}

std::int32_t CStepCorrection::Apply(std::int64_t deviationUnits, CTimeSource& time) {
    if (catchUp > 0) {
        --catchUp;
    }
    std::int32_t padding = 0;
    if (std::llabs(deviationUnits) <= kToleranceUnits) {
        running += static_cast<double>(deviationUnits);
    } else if (deviationUnits < 0) {
        padding = TruncateUnits(static_cast<double>(-deviationUnits));
        time.Wait(padding);
    } else {
        // Whole milliseconds are made good one per step; the rest of the overrun, less than a
        // millisecond, is carried into the next step like a small deviation. Dropped, each such
        // rest would stay in every later edge, and over a long text on a busy machine they add up.
        catchUp += deviationUnits / kCatchUpUnits;
        running += static_cast<double>(deviationUnits % kCatchUpUnits);
    }
    return padding;
}
