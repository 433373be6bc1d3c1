#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// One keyed tone: where it starts and how long it lasts, in samples of the output stream.
struct ToneEvent {
    std::int64_t startSample = 0;
    std::int64_t lengthSamples = 0;
    float frequency = 0.0F;
};

// Renders keyed tones into an audio stream: a phase-continuous sine whose raised-cosine edges
// (about 5 ms) are centred on each event's nominal start and end, so that the half-amplitude
// points lie exactly on them. Events come from one producer thread through a lock-free queue;
// Render runs on the audio callback and never allocates, locks or calls the system.
class CToneRenderer {
public:
    static constexpr int kSampleRate = 44100;
    // Length of one edge in samples (4.99 ms); even, so that the edge is centred on a sample.
    static constexpr int kRampSamples = 220;

    CToneRenderer();

    // Producer: queues an event; false (and dropped) when the queue is full.
    bool Push(const ToneEvent& event);
    // Consumer: fills `frames` samples that begin at absolute sample `firstSample`. An event whose
    // rising edge should have begun before `firstSample` is late: it starts at once, keeping its
    // length, and is counted.
    void Render(float* out, std::size_t frames, std::int64_t firstSample) {
        Render(out, nullptr, frames, firstSample);
    }
    // The same, and, unless `keyEnvelope` is null, the keying envelope of those samples (0 silent,
    // 1 key down, the edges in between, without the gain) into `keyEnvelope`.
    void Render(float* out, float* keyEnvelope, std::size_t frames, std::int64_t firstSample);
    // The sine begins again at phase 0 with the next sample; consumer only.
    void RestartPhase() { phase = 0.0; }
    // The frequency of the tone sounding loudest at the last sample rendered, or of the last one
    // that sounded; consumer only.
    float Frequency() const { return frequency; }
    // Drops every event; only while Render does not run.
    void Reset();

    // Linear gain 0 to 1, applied smoothly over the next buffer.
    void SetGain(float newGain) { targetGain.store(newGain, std::memory_order_relaxed); }
    float Gain() const { return targetGain.load(std::memory_order_relaxed); }
    std::uint64_t LateEvents() const { return lateEvents.load(std::memory_order_relaxed); }

private:
    static constexpr std::size_t kQueueSize = 256;
    static constexpr std::size_t kActiveSize = 32;

    float Envelope(const ToneEvent& event, std::int64_t n) const;

    // Single-producer single-consumer ring: the producer publishes with a release store of
    // `tail`, the consumer frees slots with a release store of `head`.
    std::array<ToneEvent, kQueueSize> queue{};
    std::atomic<std::size_t> head{0};
    std::atomic<std::size_t> tail{0};

    // Consumer state.
    std::array<ToneEvent, kActiveSize> active{};
    std::size_t activeCount = 0;
    std::array<float, kRampSamples + 1> ramp{};
    double phase = 0.0;
    float frequency = 450.0F;
    float gain = 1.0F;

    std::atomic<float> targetGain{1.0F};
    std::atomic<std::uint64_t> lateEvents{0};
};
