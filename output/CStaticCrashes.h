#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/CSeededRandom.h"

// Static crashes (QRN): bursts of wide-band noise that rise within half a millisecond and die
// away exponentially (a time constant of 5 to 40 ms, ending after six of them), arriving at
// random as a Poisson process of the given rate. Their peak levels scatter log-normally around
// 10 dB above the wanted signal, measured like the noise in a 500 Hz bandwidth. Render never
// allocates, locks or calls the system; one thread at a time.
class CStaticCrashes {
public:
    static constexpr std::size_t kMostAtOnce = 8;

    // `unitNoiseSigma` is the standard deviation of white noise whose power in 500 Hz equals the
    // wanted signal's.
    CStaticCrashes(double perMinute, double sampleRate, double unitNoiseSigma, std::uint64_t seed);

    // Adds the crashes of the next `frames` samples to `out`.
    void Render(float* out, std::size_t frames);

private:
    struct Crash {
        float amplitude = 0.0F;
        float decay = 1.0F;
        float level = 0.0F;
        std::int64_t age = 0;
        std::int64_t length = 0;
    };

    void Start();
    std::int64_t DrawInterval();

    CSeededRandom random;
    double meanIntervalSamples;
    double sampleRate;
    double unitSigma;
    std::int64_t attackSamples;
    std::int64_t untilNext = 0;
    std::array<Crash, kMostAtOnce> crashes{};
    std::size_t activeCount = 0;
};
