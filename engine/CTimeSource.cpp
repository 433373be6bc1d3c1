#include "engine/CTimeSource.h"

#include <chrono>

CTimeSource::~CTimeSource() = default;

std::int64_t CSystemTimeSource::Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t CSystemTimeSource::Frequency() const {
    return 1000000000;
}

void CSystemTimeSource::Wait(std::int32_t durationUnits) {
    timer.Wait(durationUnits);
}
