#pragma once

#include <cstdint>

// Blocking delay on the monotonic clock that ends on its due time to within microseconds: it
// sleeps (with the thread's timer slack at 1 ns) until shortly before the due time, then waits
// out the rest reading the clock, without sleeping. How early a short sleep ends follows the
// wake-up lateness this timer has seen, within bounds, so that the spin stays short: a few hundred
// microseconds at most per wait. A long sleep, after which a processor wakes least predictably,
// ends 1.5 ms early. One timer is used by one thread at a time.
class CDelayTimer {
public:
    // The spin before the due time of a short sleep stays within these bounds, whatever the
    // wake-ups have been.
    static constexpr std::int64_t kMaxSpinNanoseconds = 400000;
    static constexpr std::int64_t kMinSpinNanoseconds = 60000;

    CDelayTimer() = default;
    virtual ~CDelayTimer();
    CDelayTimer(const CDelayTimer&) = delete;
    CDelayTimer& operator=(const CDelayTimer&) = delete;

    // Blocks for `durationUnits` 100-ns units (about 214.7 s at most). Zero and negative durations
    // return at once. Returns 0, or the error of the sleep.
    int Wait(std::int32_t durationUnits);
    // Blocks until the monotonic time `dueNanoseconds`; at once when it has passed.
    int WaitUntil(std::int64_t dueNanoseconds);
    // The same with a fixed spin: sleeps until `spinNanoseconds` before the due time and reads
    // the clock for the rest, whatever the wake-ups have been.
    int WaitUntil(std::int64_t dueNanoseconds, std::int64_t spinNanoseconds);

    // How long before a due time the sleep now ends.
    std::int64_t SpinNanoseconds() const;

private:
    // A smoothed measure of how late sleeps end, in nanoseconds.
    double lateness = 50000.0;
};
