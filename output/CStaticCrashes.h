#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/CSeededRandom.h"

// Static (QRN) as heard on the band: crashes of wide-band noise that rise within half a
// millisecond and die away exponentially (a time constant of 5 to 40 ms, ending after six of
// them), coming in bursts of one to several a few tenths of a second apart, the bursts at random;
// their peak levels spread evenly in decibels over 40 dB, from 10 dB below the wanted signal to
// 30 dB above it (measured like the noise, in a 500 Hz bandwidth). Beneath them a steady crackle
// of faint short ticks. `perMinute` counts the crashes. Render never allocates, locks or calls the
// system; one thread at a time.
class CStaticCrashes {
public:
    static constexpr std::size_t kMostAtOnce = 16;
    static constexpr double kLowestLevelDb = -10.0;
    static constexpr double kHighestLevelDb = 30.0;
    static constexpr double kMeanPerBurst = 3.0;
    static constexpr double kCracklePerSecond = 40.0;

    // `unitNoiseSigma` is the standard deviation of white noise whose power in 500 Hz equals the
    // wanted signal's.
    CStaticCrashes(double perMinute, double sampleRate, double unitNoiseSigma, std::uint64_t seed);

    // Adds the crashes of the next `frames` samples to `out`.
    void Render(float* out, std::size_t frames);

    // The crashes started so far (not the crackle), and the range of their levels.
    struct Drawn {
        int crashes = 0;
        double lowestDb = 0.0;
        double highestDb = 0.0;
    };
    const Drawn& Started() const { return drawn; }

private:
    struct Crash {
        float amplitude = 0.0F;
        float decay = 1.0F;
        float level = 0.0F;
        std::int64_t age = 0;
        std::int64_t length = 0;
    };

    void Start(double levelDb, double shortestDecay, double longestDecay);
    std::int64_t Samples(double meanSeconds);

    CSeededRandom random;
    double withinBurstSeconds;
    double meanBurstSeconds;
    double sampleRate;
    double unitSigma;
    std::int64_t attackSamples;
    std::int64_t untilNext = 0;
    std::int64_t untilCrackle = 0;
    int leftInBurst = 0;
    std::array<Crash, kMostAtOnce> crashes{};
    std::size_t activeCount = 0;
    Drawn drawn;
};
