#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// Mixes prepared sounds (the spoken answer after a word) into an audio stream at the samples the
// producer chooses, in time order, at the stream's gain. The producer hands over the samples and
// keeps them until the consumer has rendered past their end, then frees them.
//
// Threads: one producer (the send thread) pushes and frees; one consumer (the audio callback)
// mixes. Mix never allocates, locks or calls the system.
class CClipMixer {
public:
    // Producer: `samples` to be heard from `startSample` on. False (and dropped) when too many
    // clips are waiting or the clip is empty.
    bool Push(std::int64_t startSample, std::vector<float> samples);
    // Producer: the end of the last clip pushed, in samples; 0 before any.
    std::int64_t LastEnd() const { return lastEnd; }
    // Producer: frees the clips the consumer is done with.
    void FreeHeard();

    // Consumer: adds the clips sounding within `frames` samples from `firstSample` to `out`,
    // times `gain`.
    void Mix(float* out, std::size_t frames, std::int64_t firstSample, float gain);

    // Drops every clip; only while Mix does not run.
    void Reset();

private:
    static constexpr std::size_t kQueueSize = 16;

    struct Clip {
        std::int64_t start = 0;
        std::int64_t end = 0;
        const float* samples = nullptr;
    };

    // Single-producer single-consumer ring, as the tone renderer's: the producer publishes with
    // a release store of `tail`, the consumer frees slots with a release store of `head`.
    std::array<Clip, kQueueSize> queue{};
    std::atomic<std::size_t> head{0};
    std::atomic<std::size_t> tail{0};
    // The consumer's: the first sample not yet mixed.
    std::atomic<std::int64_t> mixedUntil{0};

    // Producer's own: the samples of every clip pushed and not yet freed, oldest first.
    struct Owned {
        std::int64_t end;
        std::vector<float> samples;
    };
    std::deque<Owned> owned;
    std::int64_t lastEnd = 0;
};
