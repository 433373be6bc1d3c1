#pragma once

#include <cstdint>

// Maps the samples of an output stream to the monotonic clock from the audio callback's own clock
// readings. Each callback that renders the buffer starting at sample `first` at time `now` is one
// observation of the origin (the time of sample 0): now - first / rate. Callbacks often come in
// bursts that fill several buffers at once, so single observations scatter by the depth of the
// burst; the origin follows the earliest observation of the last quarter to half second (the
// buffer rendered furthest ahead), smoothed, which stays put under jitter and follows slow drift
// between the sound card's clock and the system's. An underrun, or an observation that jumps far
// from the origin (a stream that stalled, as some servers do right after a stream starts), starts
// it afresh. Once the mapping has been steady for a while it also measures the least lead an
// event needs: how long before the mapped time of a buffer's last sample the callback that
// renders it can come. Used by the audio callback only; the results are published by the caller.
class CClockMapping {
public:
    explicit CClockMapping(double sampleRate);

    // One callback: at `nowNanoseconds` it renders `frames` samples from `firstSample` on.
    void Observe(std::int64_t nowNanoseconds, std::int64_t firstSample, std::int64_t frames,
                 bool underrun);
    void Reset();

    // How long the mapping has run without a restart, as of `nowNanoseconds`; 0 before any
    // observation.
    std::int64_t SteadyNanoseconds(std::int64_t nowNanoseconds) const;
    std::int64_t OriginNanoseconds() const;
    // The longest, since the mapping settled, that a callback came before the mapped time of the
    // end of the buffer it rendered: an event must be queued at least this long before its time.
    std::int64_t RequiredLeadNanoseconds() const { return requiredLead; }

private:
    void Restart(std::int64_t nowNanoseconds, double observed);

    double nanosecondsPerSample;
    double origin = 0.0;
    double blockMinimum = 0.0;
    double previousBlockMinimum = 0.0;
    std::int64_t blockStart = 0;
    std::int64_t requiredLead = 0;
    std::int64_t observations = 0;
    std::int64_t steadySince = 0;
};
