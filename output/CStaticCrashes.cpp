#include "output/CStaticCrashes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAttackSeconds = 0.0005;
constexpr double kShortestDecaySeconds = 0.005;
constexpr double kLongestDecaySeconds = 0.040;
constexpr double kDecaysLong = 6.0;
constexpr double kMeanLevelDb = 10.0;
constexpr double kLevelSpreadDb = 6.0;

}  // namespace

CStaticCrashes::CStaticCrashes(double perMinute, double rate, double unitNoiseSigma,
                               std::uint64_t seed)
    : random(seed),
      meanIntervalSamples(rate * 60.0 / std::max(perMinute, 1e-3)),
      sampleRate(rate),
      unitSigma(unitNoiseSigma),
      attackSamples(std::max<std::int64_t>(1, std::llround(kAttackSeconds * rate))) {
    untilNext = DrawInterval();
}

std::int64_t CStaticCrashes::DrawInterval() {
    return std::max<std::int64_t>(1, std::llround(random.Exponential(meanIntervalSamples)));
}

void CStaticCrashes::Start() {
    const double decaySeconds = random.Uniform(kShortestDecaySeconds, kLongestDecaySeconds);
    const double levelDb =
        std::clamp(kMeanLevelDb + kLevelSpreadDb * random.Gaussian(), -5.0, 30.0);
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
            Start();
            untilNext = DrawInterval();
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
