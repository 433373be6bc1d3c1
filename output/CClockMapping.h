#pragma once

#include <cstdint>

// Maps the samples of an output stream to the monotonic clock from the audio callback's own clock
// readings. Each callback that renders the buffer starting at sample `first` at time `now` is one
// observation of the origin (the time of sample 0): now - first / rate. The origin is smoothed,
// so that callback jitter does not move the events, and follows slow drift between the sound
// card's clock and the system's; an underrun starts it afresh. It also measures how far ahead of
// a moment the next buffer can begin, which is the least lead an event needs to be placed exactly.
// Used by the audio callback only; the results are published by the caller.
class CClockMapping {
public:
    explicit CClockMapping(double sampleRate);

    void Observe(std::int64_t nowNanoseconds, std::int64_t firstSample, bool underrun);
    void Reset();

    bool HasOrigin() const { return observations > 0; }
    std::int64_t OriginNanoseconds() const;
    // The longest an event keyed right after one callback had to wait for the sample at which the
    // next callback began, measured since the last Reset.
    std::int64_t RequiredLeadNanoseconds() const { return requiredLead; }
    std::int64_t Observations() const { return observations; }

private:
    double nanosecondsPerSample;
    double origin = 0.0;
    std::int64_t previousNow = 0;
    std::int64_t requiredLead = 0;
    std::int64_t observations = 0;
};
