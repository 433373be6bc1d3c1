#include "output/CSoundCardSidetone.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Above the cue player's and the transmission's threads: a late sidetone is heard at once.
constexpr int kStreamPriority = 12;

}  // namespace

CSoundCardSidetone::~CSoundCardSidetone() = default;

bool CSoundCardSidetone::Open(int toneHz, float volume) {
    server.reset();
    phase = 0.0;
    step = kTwoPi * toneHz / CPulseStream::kSampleRate;
    amplitude = std::clamp(volume, 0.0F, 1.0F);
    envelope = 0.0F;
    envelopeStep = static_cast<float>(1.0 / (kEdgeSeconds * CPulseStream::kSampleRate));
    server = CPulseStream::Open(
        "Brumlo sidetone",
        [this](float* out, std::size_t frames, std::int64_t firstSample) {
            Render(out, frames, firstSample);
        },
        kStreamPriority, kFillNanoseconds, kRequestNanoseconds);
    return server != nullptr;
}

void CSoundCardSidetone::Key(bool down, std::int64_t) {
    keyDown.store(down, std::memory_order_release);
}

void CSoundCardSidetone::Render(float* out, std::size_t frames, std::int64_t firstSample) {
    const bool down = keyDown.load(std::memory_order_acquire);
    if (down && envelope == 0.0F) {
        onsetSample.store(firstSample, std::memory_order_release);
    }
    for (std::size_t i = 0; i < frames; ++i) {
        envelope = std::clamp(envelope + (down ? envelopeStep : -envelopeStep), 0.0F, 1.0F);
        const float shaped = 0.5F - 0.5F * std::cos(static_cast<float>(kTwoPi / 2.0) * envelope);
        out[i] = envelope > 0.0F ? amplitude * shaped * static_cast<float>(std::sin(phase)) : 0.0F;
        phase += step;
        if (phase > kTwoPi) {
            phase -= kTwoPi;
        }
    }
}
