#include "output/CReceptionConditions.h"

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

#include "core/Timing.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr std::int64_t kRenormaliseSamples = 4096;

// White noise whose power in `bandwidthHz` is `power` has this variance per sample.
double NoiseVariance(double power, double bandwidthHz, double sampleRate) {
    return power * (sampleRate / 2.0) / bandwidthHz;
}

float SoftLimit(float x) {
    constexpr float kKnee = CReceptionConditions::kLimiterKnee;
    const float magnitude = std::fabs(x);
    if (magnitude <= kKnee) {
        return x;
    }
    const float bent = kKnee + (1.0F - kKnee) * std::tanh((magnitude - kKnee) / (1.0F - kKnee));
    return x < 0.0F ? -bent : bent;
}

}  // namespace

CReceptionConditions::CReceptionConditions(const ReceptionSettings& conditions, std::uint64_t seed,
                                           int toneHz, float signalAmplitude, double rate)
    : settings(conditions.Bounded()),
      sampleRate(rate),
      wantedTone(toneHz),
      wantedAmplitude(signalAmplitude),
      noise(CSeededRandom::Derive(seed, SeedStream::kNoise)) {
    if (!settings.interference) {
        settings.stations = 0;
    }
    if (PassesThrough()) {
        return;
    }

    filterTones.assign(kToneFrequencies.begin(), kToneFrequencies.end());
    if (std::find(filterTones.begin(), filterTones.end(), toneHz) == filterTones.end()) {
        filterTones.push_back(toneHz);
    }
    for (const int hz : filterTones) {
        filters.push_back(MakeReceiverFilter(hz, settings.filterHz, sampleRate));
    }
    SelectFilter(toneHz);

    // The powers heard through the receiver, relative to the wanted signal's.
    double expectedPower = 1.0;
    const double signalPower = 0.5;  // of a sine of unit amplitude
    noiseSigmaPerAmplitude =
        std::sqrt(NoiseVariance(signalPower, ReceptionSettings::kSnrBandwidthHz, sampleRate));
    if (settings.noise) {
        const double snr = std::pow(10.0, settings.snrDb / 10.0);
        noiseSigmaPerAmplitude /= std::sqrt(snr);
        expectedPower += settings.filterHz * kReceiverNoiseBandwidthShare /
                         (ReceptionSettings::kSnrBandwidthHz * snr);
    }
    if (settings.fading) {
        fading.emplace(settings.fadingDepthPercent / 100.0, settings.fadingSeconds, sampleRate,
                       CSeededRandom::Derive(seed, SeedStream::kFading));
    }
    if (settings.staticCrashes) {
        const double unitSigma =
            std::sqrt(NoiseVariance(signalPower, ReceptionSettings::kSnrBandwidthHz, sampleRate));
        crashes.emplace(settings.staticPerMinute, sampleRate, unitSigma,
                        CSeededRandom::Derive(seed, SeedStream::kStatic));
    }
    CSeededRandom drawing(CSeededRandom::Derive(seed, SeedStream::kInterference));
    stations.reserve(static_cast<std::size_t>(settings.stations));
    for (int i = 0; i < settings.stations; ++i) {
        stationTraits.push_back(CInterferingStation::Draw(drawing, settings.filterHz));
        stations.emplace_back(stationTraits.back(), sampleRate,
                              CSeededRandom::Derive(seed, SeedStream::kInterference,
                                                    static_cast<std::uint64_t>(i) + 2));
        // A station keys about half of the time.
        expectedPower += 0.5 * stationTraits.back().level * stationTraits.back().level;
    }
    if (settings.noise || settings.staticCrashes || !stations.empty()) {
        outputGain = kHeadroom / static_cast<float>(std::sqrt(expectedPower));
    }
    chirpDecay = std::exp(-1.0 / (kChirpSeconds * sampleRate));
}

CReceptionConditions::~CReceptionConditions() = default;

void CReceptionConditions::SelectFilter(int hz) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < filterTones.size(); ++i) {
        if (std::abs(filterTones[i] - hz) < std::abs(filterTones[best] - hz)) {
            best = i;
        }
    }
    if (best != filterIndex || toneInUse == 0) {
        filterIndex = best;
        iirfilt_rrrf_reset(filters[filterIndex].get());
    }
    toneInUse = hz;
}

void CReceptionConditions::Render(float* samples, const float* keyEnvelope, std::size_t frames) {
    if (PassesThrough()) {
        return;
    }
    const int hz = wantedTone.load(std::memory_order_relaxed);
    if (hz != toneInUse) {
        SelectFilter(hz);
    }
    for (std::size_t done = 0; done < frames; done += kChunkFrames) {
        const std::size_t count = std::min(kChunkFrames, frames - done);
        RenderChunk(samples + done, keyEnvelope != nullptr ? keyEnvelope + done : nullptr, count);
    }
}

void CReceptionConditions::RenderChunk(float* samples, const float* keyEnvelope,
                                       std::size_t frames) {
    const float amplitude = wantedAmplitude.load(std::memory_order_relaxed);
    if (NeedsKeyEnvelope() && keyEnvelope != nullptr) {
        // The wanted tone keyed anew: hard edges for clicks, a settling frequency for chirp. The
        // tone is a unit phasor turned by one sample's angle at a time; the chirp's few hertz more
        // turn it by a small angle more, close enough as 1 + i e - e^2 / 2.
        const std::complex<double> turn = std::polar(1.0, kTwoPi * toneInUse / sampleRate);
        for (std::size_t i = 0; i < frames; ++i) {
            float envelope = keyEnvelope[i];
            if (settings.chirp && previousEnvelope == 0.0F && envelope > 0.0F) {
                chirpOffset = settings.chirpHz;
            }
            previousEnvelope = envelope;
            if (settings.keyClicks) {
                envelope = envelope >= 0.5F ? 1.0F : 0.0F;
            }
            samples[i] = amplitude * envelope * static_cast<float>(phasor.imag());
            const double extraAngle = kTwoPi * chirpOffset / sampleRate;
            phasor *= turn * std::complex<double>(1.0 - extraAngle * extraAngle / 2.0, extraAngle);
            chirpOffset *= chirpDecay;
            // Set right at fixed samples, so that the sound does not depend on the blocks.
            if (++keyedAnew % kRenormaliseSamples == 0) {
                phasor /= std::abs(phasor);
            }
        }
    }
    if (fading) {
        fading->Render(gains.data(), frames);
        for (std::size_t i = 0; i < frames; ++i) {
            samples[i] *= gains[i];
        }
    }
    if (settings.noise) {
        const double sigma = amplitude * noiseSigmaPerAmplitude;
        for (std::size_t i = 0; i < frames; ++i) {
            samples[i] += static_cast<float>(sigma * noise.Gaussian());
        }
    }
    if (crashes || !stations.empty()) {
        std::fill_n(extra.begin(), frames, 0.0F);
        if (crashes) {
            crashes->Render(extra.data(), frames);
            for (std::size_t i = 0; i < frames; ++i) {
                extra[i] *= amplitude;
            }
        }
        for (CInterferingStation& station : stations) {
            station.Render(extra.data(), frames, toneInUse, amplitude);
        }
        for (std::size_t i = 0; i < frames; ++i) {
            samples[i] += extra[i];
        }
    }
    iirfilt_rrrf_execute_block(filters[filterIndex].get(), samples,
                               static_cast<unsigned int>(frames), samples);
    for (std::size_t i = 0; i < frames; ++i) {
        samples[i] = SoftLimit(samples[i] * outputGain);
    }
}
