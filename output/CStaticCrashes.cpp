#include "output/CStaticCrashes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAttackSeconds = 0.0005;
constexpr double kShortestDecaySeconds = 0.005;
constexpr double kLongestDecaySeconds = 0.040;
constexpr double kDecaysLong = 6.0;
// The crashes of a burst follow each other this far apart on average, or closer where the rate
// leaves less room: at most half of the time goes to the bursts.
constexpr double kWithinBurstSeconds = 0.2;
// The crackle's ticks: faint and short.
constexpr double kCrackleLowestDb = -25.0;
constexpr double kCrackleHighestDb = -10.0;
constexpr double kCrackleShortestDecay = 0.0005;
constexpr double kCrackleLongestDecay = 0.003;

}  // namespace

CStaticCrashes::CStaticCrashes(double perMinute, double rate, double unitNoiseSigma,
                               std::uint64_t seed)
    : random(seed),
      withinBurstSeconds(std::min(kWithinBurstSeconds, 30.0 / std::max(perMinute, 1e-3))),
      meanBurstSeconds(60.0 * kMeanPerBurst / std::max(perMinute, 1e-3) -
                       (kMeanPerBurst - 1.0) * withinBurstSeconds),
      sampleRate(rate),
      unitSigma(unitNoiseSigma),
      attackSamples(std::max<std::int64_t>(1, std::llround(kAttackSeconds * rate))) {
    untilNext = Samples(meanBurstSeconds);
    untilCrackle = Samples(1.0 / kCracklePerSecond);
}

std::int64_t CStaticCrashes::Samples(double meanSeconds) {
    return std::max<std::int64_t>(1, std::llround(random.Exponential(meanSeconds * sampleRate)));
}

void CStaticCrashes::Start(double levelDb, double shortestDecay, double longestDecay) {
    const double decaySeconds = random.Uniform(shortestDecay, longestDecay);
    if (activeCount == kMostAtOnce) {
        return;
    }
    Crash& crash = crashes[activeCount++];
    crash.amplitude = static_cast<float>(unitSigma * std::pow(10.0, levelDb / 20.0));
    crash.decay = static_cast<float>(std::exp(-1.0 / (decaySeconds * sampleRate)));
    crash.level = 1.0F;
    crash.age = 0;
    crash.length = attackSamples + std::llround(kDecaysLong * decaySeconds * sampleRate);
}

void CStaticCrashes::Render(float* out, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        if (--untilNext == 0) {
            if (leftInBurst == 0) {
                // A burst of one or more: geometric, kMeanPerBurst on average.
                leftInBurst = 1;
                while (random.Uniform(0.0, 1.0) < 1.0 - 1.0 / kMeanPerBurst) {
                    ++leftInBurst;
                }
            }
            const double levelDb = random.Uniform(kLowestLevelDb, kHighestLevelDb);
            drawn.lowestDb = drawn.crashes == 0 ? levelDb : std::min(drawn.lowestDb, levelDb);
            drawn.highestDb = drawn.crashes == 0 ? levelDb : std::max(drawn.highestDb, levelDb);
            ++drawn.crashes;
            Start(levelDb, kShortestDecaySeconds, kLongestDecaySeconds);
            --leftInBurst;
            untilNext = Samples(leftInBurst > 0 ? withinBurstSeconds : meanBurstSeconds);
        }
        if (--untilCrackle == 0) {
            Start(random.Uniform(kCrackleLowestDb, kCrackleHighestDb), kCrackleShortestDecay,
                  kCrackleLongestDecay);
            untilCrackle = Samples(1.0 / kCracklePerSecond);
        }
        float sum = 0.0F;
        for (std::size_t c = 0; c < activeCount;) {
            Crash& crash = crashes[c];
            float envelope = crash.level;
            if (crash.age < attackSamples) {
                envelope = static_cast<float>(crash.age + 1) / static_cast<float>(attackSamples);
            } else {
                crash.level *= crash.decay;
            }
            sum += crash.amplitude * envelope * static_cast<float>(random.Gaussian());
            if (++crash.age >= crash.length) {
                crashes[c] = crashes[--activeCount];
            } else {
                ++c;
            }
        }
        out[i] += sum;
    }
}
