#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "output/CClockMapping.h"

// The samples of short sounds on their way to an output stream, and the stream's clock. One
// producer (the user-interface thread) appends sounds to a fixed ring; the stream's callback
// copies what is queued into its buffers as soon as it is there (silence otherwise), and notes at
// which sample of the stream the last queued sample went out. The callback also maps the stream's
// samples to the monotonic clock (CClockMapping), so that the producer can tell when that sample
// is heard. The callback never allocates, locks or calls the system: the ring is allocated once,
// and the two sides meet only in atomics.
class CCueQueue {
public:
    // The ring's room: about twelve seconds at 44.1 kHz, more than a callsign at the slowest speed.
    static constexpr std::size_t kCapacity = std::size_t{1} << 19;
    // A sound dropped while it plays fades out over this many samples (5 ms) instead of clicking.
    static constexpr std::size_t kFadeSamples = 220;

    explicit CCueQueue(double sampleRate);

    // Producer: appends `count` samples after what is queued; false (nothing queued) when they do
    // not fit in the room left.
    bool Push(const float* samples, std::size_t count);
    // Producer: drops everything queued that the callback has not yet taken; the sound playing
    // fades out at once.
    void Drop();
    // Producer: the monotonic time at which the last sample queued is heard, `latencyNanoseconds`
    // (the stream's own latency from rendering to hearing) after the mapped time of its sample;
    // 0 while the callback has not yet taken it or the stream's clock is not mapped. After Drop it
    // is the moment the sound stopped.
    std::int64_t HeardEndNanoseconds(std::int64_t latencyNanoseconds) const;

    // Consumer (the stream's callback): fills `frames` samples, rendered at `nowNanoseconds`;
    // `underrun` when the stream reported its previous buffer late.
    void Render(float* out, std::size_t frames, std::int64_t nowNanoseconds, bool underrun);
    // Consumer of a stream that keeps its own clock: fills `frames` samples that begin at sample
    // `firstSample` of that stream.
    void Take(float* out, std::size_t frames, std::int64_t firstSample);
    // Producer: the stream sample of the last sample queued, once the consumer has taken it (or
    // has passed the place where it was dropped); -1 before.
    std::int64_t EndSample() const;
    // Consumer state back to a new stream's (sample 0, no mapping); only while no callback runs.
    void Restart();

private:
    double nanosecondsPerSample;
    std::vector<float> ring;

    // Positions count samples since the start, never wrapped: the ring index is position modulo
    // kCapacity. `tail` is written by the producer (release: the samples before it are written),
    // `head` by the consumer (release: the samples before it may be overwritten).
    std::atomic<std::uint64_t> tail{0};
    std::atomic<std::uint64_t> head{0};
    // The position up to which the producer asked to drop.
    std::atomic<std::uint64_t> dropTo{0};

    // Published by the consumer: the stream sample of the last sample taken when the queue ran
    // empty at position `endPosition` (written before `endPosition`, with release), and the mapped
    // time of sample 0.
    std::atomic<std::int64_t> endSample{0};
    std::atomic<std::uint64_t> endPosition{0};
    std::atomic<std::int64_t> originNanoseconds{0};
    std::atomic<bool> originKnown{false};

    // Consumer state.
    CClockMapping mapping;
    std::int64_t framesRendered = 0;
    std::uint64_t publishedPosition = 0;
    // The last buffer ended inside a sound.
    bool playing = false;
};
