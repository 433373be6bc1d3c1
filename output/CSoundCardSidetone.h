#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "core/CSidetone.h"
#include "output/CPulseStream.h"

// The sidetone on the desktop's sound server: a stream of its own that writes only a few
// milliseconds ahead of the sound (the keyed tone cannot be decided earlier than the key), its
// thread at real-time priority where it may have it. The tone follows the key's state as the
// stream's thread finds it, with raised-cosine edges of 3 ms. Without a sound server there is no
// sidetone on the sound card (Open is false).
class CSoundCardSidetone : public CSidetone {
public:
    static constexpr std::int64_t kFillNanoseconds = 12000000;
    static constexpr std::int64_t kRequestNanoseconds = 2000000;
    static constexpr double kEdgeSeconds = 0.003;

    ~CSoundCardSidetone() override;

    bool Open(int toneHz, float volume) override;
    void Key(bool down, std::int64_t at) override;

    // The stream, for a benchmark that maps its samples to the clock; null before Open.
    const CPulseStream* Stream() const { return server.get(); }
    // The first sample of the tone that answered the last key-down, or -1.
    std::int64_t LastOnsetSample() const { return onsetSample.load(std::memory_order_acquire); }

private:
    void Render(float* out, std::size_t frames, std::int64_t firstSample);

    std::unique_ptr<CPulseStream> server;
    std::atomic<bool> keyDown{false};
    std::atomic<std::int64_t> onsetSample{-1};
    // The stream thread's own.
    double phase = 0.0;
    double step = 0.0;
    float amplitude = 0.0F;
    float envelope = 0.0F;
    float envelopeStep = 0.0F;
};
