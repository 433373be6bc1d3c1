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
constexpr double kZeroBeatHz = 15.0;

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
    const double spreadHz = settings.fadingSpreadCentihertz / 100.0;
    if (settings.fading) {
        const int pathCount = settings.pathDelayMicroseconds > 0 ? 2 : 1;
        for (int path = 0; path < pathCount; ++path) {
            paths.emplace_back(
                spreadHz, sampleRate,
                CSeededRandom::Derive(seed, SeedStream::kFading, static_cast<std::uint64_t>(path)));
        }
        fadingDepth = static_cast<float>(settings.fadingDepthPercent / 100.0);
        pathScale = static_cast<float>(std::sqrt(1.0 / pathCount));
        pathDelay[1] = settings.pathDelayMicroseconds * 1e-6 * sampleRate;
        // Room for the longest delay and a quarter of the lowest tone's period.
        const double longest = pathDelay[1] + sampleRate / (4.0 * 100.0) + 4.0;
        std::size_t size = 1;
        while (static_cast<double>(size) < longest) {
            size *= 2;
        }
        history.assign(size, 0.0F);
        historyMask = size - 1;
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
        stationTraits.push_back(CInterferingStation::Draw(drawing, settings.filterHz,
                                                          settings.zeroBeat, settings.pileUp));
        if (settings.zeroBeat && i == 0) {
            // One station sits on the wanted tone, as zero-beat practice asks.
            stationTraits.back().offsetHz = drawing.Uniform(-kZeroBeatHz, kZeroBeatHz);
        }
        stations.emplace_back(stationTraits.back(), sampleRate,
                              CSeededRandom::Derive(seed, SeedStream::kInterference,
                                                    static_cast<std::uint64_t>(i) + 2));
        if (settings.fading) {
            // Each station comes over a path of its own, and fades on its own.
            stationFading.emplace_back(spreadHz, sampleRate,
                                       CSeededRandom::Derive(seed, SeedStream::kFading,
                                                             static_cast<std::uint64_t>(i) + 2));
        }
        // A station keys about half of the time.
        expectedPower += 0.5 * stationTraits.back().level * stationTraits.back().level;
    }
    if (settings.noise || settings.staticCrashes || !stations.empty()) {
        outputGain = kHeadroom / static_cast<float>(std::sqrt(expectedPower));
    }
    if (settings.fading) {
        outputGain = std::min(outputGain, kHeadroom) / kFadingPeak;
    }
    if (settings.agc != ReceptionSettings::Agc::kOff) {
        const bool fast = settings.agc == ReceptionSettings::Agc::kFast;
        agc.emplace(kAgcAttackSeconds, fast ? 0.1 : 0.5, fast ? 0.1 : 0.5, kAgcLookAheadSeconds,
                    sampleRate);
    }
    limiter.emplace(0.0003, 0.02, 0.05, 0.002, sampleRate);
    chirpDecay = std::exp(-1.0 / (kChirpSeconds * sampleRate));
    answerAfterSamples = std::llround(kAnswerAfterSeconds * sampleRate);
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
    if (settings.pileUp && !stations.empty()) {
        NoteWantedStation(samples, frames, amplitude);
    }
    if (!paths.empty()) {
        Fade(samples, frames);
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
        for (std::size_t k = 0; k < stations.size(); ++k) {
            if (stationFading.empty()) {
                stations[k].Render(extra.data(), frames, toneInUse, amplitude);
                continue;
            }
            std::fill_n(stationSamples.begin(), frames, 0.0F);
            stations[k].Render(stationSamples.data(), frames, toneInUse, amplitude);
            stationFading[k].RenderMagnitude(gains.data(), frames);
            for (std::size_t i = 0; i < frames; ++i) {
                extra[i] += stationSamples[i] * gains[i];
            }
        }
        for (std::size_t i = 0; i < frames; ++i) {
            samples[i] += extra[i];
        }
    }
    iirfilt_rrrf_execute_block(filters[filterIndex].get(), samples,
                               static_cast<unsigned int>(frames), samples);
    if (agc) {
        ControlGain(samples, frames, amplitude);
    } else {
        for (std::size_t i = 0; i < frames; ++i) {
            samples[i] *= outputGain;
        }
    }
    Limit(samples, frames);
}

void CReceptionConditions::NoteWantedStation(const float* samples, std::size_t frames,
                                             float amplitude) {
    // The clean keyed signal, before anything is added: the wanted station keys where it is not
    // silent. Its stop is a silence of kAnswerAfterSeconds after it keyed.
    const float threshold = 0.01F * amplitude;
    for (std::size_t i = 0; i < frames; ++i) {
        if (std::fabs(samples[i]) > threshold) {
            wantedSilence = 0;
            wantedKeyed = true;
        } else if (wantedKeyed && ++wantedSilence >= answerAfterSamples) {
            wantedKeyed = false;
            for (CInterferingStation& station : stations) {
                station.Answer();
            }
        }
    }
}

float CReceptionConditions::Delayed(double samplesAgo) const {
    const auto whole = static_cast<std::size_t>(samplesAgo);
    const auto share = static_cast<float>(samplesAgo - static_cast<double>(whole));
    const float later = history[(historyAt - whole) & historyMask];
    const float earlier = history[(historyAt - whole - 1) & historyMask];
    return later + (earlier - later) * share;
}

void CReceptionConditions::Fade(float* samples, std::size_t frames) {
    for (std::size_t path = 0; path < paths.size(); ++path) {
        paths[path].Render(pathGains[path].data(), frames);
    }
    const double quarter = sampleRate / (4.0 * std::max(toneInUse, 100));
    for (std::size_t i = 0; i < frames; ++i) {
        history[++historyAt & historyMask] = samples[i];
        float out = 0.0F;
        for (std::size_t path = 0; path < paths.size(); ++path) {
            std::complex<float> gain = fadingDepth * pathScale * pathGains[path][i];
            if (path == 0) {
                gain += 1.0F - fadingDepth;
            }
            // The real part of the gain times the analytic signal x + i H[x].
            out += gain.real() * Delayed(pathDelay[path]) -
                   gain.imag() * Delayed(pathDelay[path] + quarter);
        }
        samples[i] = out;
    }
}

CReceptionConditions::PeakFollower::PeakFollower(double attackSeconds, double hangSeconds,
                                                 double decaySeconds, double lookAheadSeconds,
                                                 double sampleRate)
    : hangSamples(std::llround(hangSeconds * sampleRate)),
      attack(static_cast<float>(1.0 - std::exp(-1.0 / (attackSeconds * sampleRate)))),
      decay(static_cast<float>(std::exp(-1.0 / (decaySeconds * sampleRate)))),
      delay(static_cast<std::size_t>(std::max(1.0, lookAheadSeconds * sampleRate)), 0.0F) {}

float CReceptionConditions::PeakFollower::Step(float sample, float floor) {
    const float magnitude = std::fabs(sample);
    if (magnitude > peak) {
        peak = magnitude;
        hangLeft = hangSamples;
    } else if (hangLeft > 0) {
        --hangLeft;
    } else {
        peak *= decay;
    }
    peak = std::max(peak, floor);
    level = peak > level ? level + (peak - level) * attack : peak;
    const float heard = delay[at];
    delay[at] = sample;
    at = at + 1 == delay.size() ? 0 : at + 1;
    return heard;
}

void CReceptionConditions::ControlGain(float* samples, std::size_t frames, float amplitude) {
    // The least level it holds: the unfaded signal's peak over the most gain it may add.
    const float floor = std::max(amplitude, 1e-6F) / kAgcMostGain;
    for (std::size_t i = 0; i < frames; ++i) {
        const float heard = agc->Step(samples[i], floor);
        samples[i] = heard * (kAgcTarget / agc->level);
    }
}

void CReceptionConditions::Limit(float* samples, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        const float heard = limiter->Step(samples[i], kLimiterThreshold);
        samples[i] = SoftLimit(heard * (kLimiterThreshold / limiter->level));
    }
}
