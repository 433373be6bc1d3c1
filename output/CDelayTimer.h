#pragma once

#include <cstdint>
#include <ctime>

// Blocking delay on the monotonic clock with the calling thread's timer slack at 1 ns, so that a
// wait ends within tens of microseconds of its due time. One timer is used by one thread at a time.
class CDelayTimer {
public:
    CDelayTimer() = default;
    virtual ~CDelayTimer();
    CDelayTimer(const CDelayTimer&) = delete;
    CDelayTimer& operator=(const CDelayTimer&) = delete;

    // Blocks for `durationUnits` 100-ns units (about 214.7 s at most). Zero and negative durations
    // return at once. Returns 0, or the error of the final sleep.
    int Wait(std::int32_t durationUnits);

    // The monotonic time `durationUnits` after `now`, normalised.
    static timespec DueTimeAfter(timespec now, std::int32_t durationUnits);
};
