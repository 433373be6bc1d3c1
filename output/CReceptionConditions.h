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
// included, at a fixed gain that leaves room for the noise. Everything random comes from one
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
    // Samples beyond this magnitude are bent smoothly towards full scale instead of clipping.
    static constexpr float kLimiterKnee = 0.9F;
    // A chirp settles with this time constant after every key-down.
    static constexpr double kChirpSeconds = 0.015;

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
    std::optional<CFading> fading;
    std::optional<CStaticCrashes> crashes;
    std::vector<CInterferingStation> stations;
    std::vector<CInterferingStation::Traits> stationTraits;
    float outputGain = 1.0F;

    // The wanted tone keyed anew for chirp and clicks.
    std::complex<double> phasor{1.0, 0.0};
    std::int64_t keyedAnew = 0;
    double chirpOffset = 0.0;
    double chirpDecay = 1.0;
    float previousEnvelope = 0.0F;

    std::array<float, kChunkFrames> gains{};
    std::array<float, kChunkFrames> extra{};
};
