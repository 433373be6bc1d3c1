#pragma once

#include <array>
#include <atomic>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/CSeededRandom.h"
#include "core/ReceptionSettings.h"
#include "output/CFading.h"
#include "output/CInterferingStation.h"
#include "output/CStaticCrashes.h"
#include "output/LiquidFilters.h"

// What a receiver makes of the keyed wanted signal under the reception conditions: the signal,
// faded (QSB), chirping or clicking as its settings say, with noise, static crashes (QRN) and
// interfering stations (QRM) added, all heard through the receiver's band-pass filter, ringing
// included, and its automatic gain control (or a fixed gain that leaves room for the noise and
// the loudest fades). The fading takes one or two paths, each with its own complex gain; the
// signal's quadrature for it is the signal a quarter of the tone's period earlier, which is exact
// for a tone and close for its keying edges. Everything random comes from one
// seed, so that the same settings, seed and input give the same samples whether rendered live in
// blocks of any size or offline in one go. With no sound condition on the input passes unchanged.
//
// Built (allocating) off the audio thread; Render then never allocates, locks or calls the
// system, and runs on one thread at a time. SetTone and SetSignalAmplitude may be called from any
// thread; Render picks them up at its next call.
class CReceptionConditions {
public:
    static constexpr std::size_t kChunkFrames = 256;
    // The room left for noise and crashes: everything heard through the receiver is scaled by
    // this over the square root of the expected power relative to the wanted signal's.
    static constexpr float kHeadroom = 0.5F;
    // The output limiter turns the gain down, looking ahead, where a peak would pass
    // kLimiterThreshold (a crash with the gain control off); samples beyond kLimiterKnee, which it
    // leaves none, would be bent smoothly towards full scale instead of clipping.
    static constexpr float kLimiterThreshold = 0.8F;
    static constexpr float kLimiterKnee = 0.9F;
    // Without gain control the fixed gain leaves this much room for fades above the mean
    // (a Rayleigh magnitude exceeds three times its r.m.s. value one time in 8000).
    static constexpr float kFadingPeak = 3.0F;
    // The gain control: the peak level it holds, how far above the unfaded signal's gain it may go
    // in a fade or a quiet moment, and how far ahead of the sound it looks.
    static constexpr float kAgcTarget = 0.5F;
    static constexpr float kAgcMostGain = 10.0F;
    static constexpr double kAgcLookAheadSeconds = 0.003;
    static constexpr double kAgcAttackSeconds = 0.002;
    // A chirp settles with this time constant after every key-down.
    static constexpr double kChirpSeconds = 0.015;
    // A pile-up answers when the wanted station has keyed and then been silent this long.
    static constexpr double kAnswerAfterSeconds = 1.2;

    // `toneHz` is the wanted tone; receiver filters are made for it and for every tone of the
    // tone list, so that SetTone needs no allocation. `signalAmplitude` is the key-down amplitude
    // of the input samples, which the noise and the other sounds are measured against.
    CReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed, int toneHz,
                         float signalAmplitude = 1.0F, double sampleRate = 44100.0);
    ~CReceptionConditions();
    CReceptionConditions(const CReceptionConditions&) = delete;
    CReceptionConditions& operator=(const CReceptionConditions&) = delete;

    // Turns `frames` samples of the clean keyed wanted signal in `samples` into what is heard, in
    // place. `keyEnvelope` holds the keying envelope of the same samples (0 silent, 1 key down,
    // the edges in between, without the volume); it is needed only for chirp and key clicks,
    // which key the tone anew, and may be null otherwise.
    void Render(float* samples, const float* keyEnvelope, std::size_t frames);

    void SetTone(int hz) { wantedTone.store(hz, std::memory_order_relaxed); }
    void SetSignalAmplitude(float amplitude) {
        wantedAmplitude.store(amplitude, std::memory_order_relaxed);
    }

    // Whether Render leaves the input as it is (no sound condition is on).
    bool PassesThrough() const { return !settings.ChangesSound(); }
    bool NeedsKeyEnvelope() const { return settings.chirp || settings.keyClicks; }
    // The gain of everything heard through the receiver.
    float OutputGain() const { return outputGain; }
    const std::vector<CInterferingStation::Traits>& Stations() const { return stationTraits; }

private:
    void SelectFilter(int hz);
    void RenderChunk(float* samples, const float* keyEnvelope, std::size_t frames);
    void Fade(float* samples, std::size_t frames);
    float Delayed(double samplesAgo) const;
    void ControlGain(float* samples, std::size_t frames, float amplitude);
    void Limit(float* samples, std::size_t frames);
    void NoteWantedStation(const float* samples, std::size_t frames, float amplitude);

    ReceptionSettings settings;
    double sampleRate;
    std::atomic<int> wantedTone;
    std::atomic<float> wantedAmplitude;

    std::vector<int> filterTones;
    std::vector<RealFilter> filters;
    std::size_t filterIndex = 0;
    int toneInUse = 0;

    CSeededRandom noise;
    double noiseSigmaPerAmplitude = 0.0;
    // The fading paths (none, one or two), the depth, each path's delay in samples and the scale
    // that gives the paths together unit mean power; the recent input they read.
    std::vector<CFading> paths;
    float fadingDepth = 1.0F;
    std::array<double, 2> pathDelay{};
    float pathScale = 1.0F;
    std::vector<float> history;
    std::size_t historyMask = 0;
    std::size_t historyAt = 0;
    std::vector<CFading> stationFading;
    std::int64_t answerAfterSamples = 0;
    std::int64_t wantedSilence = 0;
    bool wantedKeyed = false;
    std::optional<CStaticCrashes> crashes;
    std::vector<CInterferingStation> stations;
    std::vector<CInterferingStation::Traits> stationTraits;
    float outputGain = 1.0F;

    // A peak follower with attack, hang and decay that looks ahead of the sound by a delay line:
    // the gain control's and the output limiter's.
    struct PeakFollower {
        PeakFollower(double attackSeconds, double hangSeconds, double decaySeconds,
                     double lookAheadSeconds, double sampleRate);
        // Takes the next sample and returns the one the look-ahead earlier. `peak` follows the
        // samples' peaks at once, holds them for the hang and then decays, never below `floor`;
        // `level` rises to it with the attack's time constant (the look-ahead leaves it time to)
        // and falls with it.
        float Step(float sample, float floor);
        float peak = 0.0F;
        float level = 0.0F;
        std::int64_t hangLeft = 0;
        std::int64_t hangSamples = 0;
        float attack = 1.0F;
        float decay = 1.0F;
        std::vector<float> delay;
        std::size_t at = 0;
    };
    std::optional<PeakFollower> agc;
    std::optional<PeakFollower> limiter;

    // The wanted tone keyed anew for chirp and clicks.
    std::complex<double> phasor{1.0, 0.0};
    std::int64_t keyedAnew = 0;
    double chirpOffset = 0.0;
    double chirpDecay = 1.0;
    float previousEnvelope = 0.0F;

    std::array<std::array<std::complex<float>, kChunkFrames>, 2> pathGains{};
    std::array<float, kChunkFrames> gains{};
    std::array<float, kChunkFrames> extra{};
    std::array<float, kChunkFrames> stationSamples{};
};
