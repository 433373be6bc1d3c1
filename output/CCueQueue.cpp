#include "output/CCueQueue.h"

#include <algorithm>
#include <cmath>

CCueQueue::CCueQueue(double sampleRate)
    : nanosecondsPerSample(1e9 / sampleRate), ring(kCapacity, 0.0F), mapping(sampleRate) {}

bool CCueQueue::Push(const float* samples, std::size_t count) {
    const std::uint64_t writeAt = tail.load(std::memory_order_relaxed);
    const std::uint64_t used = writeAt - head.load(std::memory_order_acquire);
    if (count > kCapacity - used) {
        return false;
    }
    for (std::size_t k = 0; k < count; ++k) {
        ring[(writeAt + k) % kCapacity] = samples[k];
    }
    tail.store(writeAt + count, std::memory_order_release);
    return true;
}

void CCueQueue::Drop() {
    dropTo.store(tail.load(std::memory_order_relaxed), std::memory_order_release);
}

std::int64_t CCueQueue::HeardEndNanoseconds(std::int64_t latencyNanoseconds) const {
    // The producer is the only writer of `tail`, so it cannot move while this runs; the callback
    // writes `endSample` once for each position before it publishes that position.
    const std::int64_t end = EndSample();
    if (end < 0 || !originKnown.load(std::memory_order_acquire)) {
        return 0;
    }
    const double heard = static_cast<double>(originNanoseconds.load(std::memory_order_acquire)) +
                         static_cast<double>(end) * nanosecondsPerSample;
    return static_cast<std::int64_t>(std::llround(heard)) + latencyNanoseconds;
}

std::int64_t CCueQueue::EndSample() const {
    const std::uint64_t queued = tail.load(std::memory_order_relaxed);
    if (queued == 0 || endPosition.load(std::memory_order_acquire) != queued) {
        return -1;
    }
    return endSample.load(std::memory_order_relaxed);
}

void CCueQueue::Render(float* out, std::size_t frames, std::int64_t nowNanoseconds, bool underrun) {
    mapping.Observe(nowNanoseconds, framesRendered, static_cast<std::int64_t>(frames), underrun);
    originNanoseconds.store(mapping.OriginNanoseconds(), std::memory_order_release);
    originKnown.store(true, std::memory_order_release);
    Take(out, frames, framesRendered);
    framesRendered += static_cast<std::int64_t>(frames);
}

void CCueQueue::Take(float* out, std::size_t frames, std::int64_t firstSample) {
    const std::uint64_t queued = tail.load(std::memory_order_acquire);
    std::uint64_t position = head.load(std::memory_order_relaxed);
    std::size_t written = 0;
    const std::uint64_t drop = dropTo.load(std::memory_order_acquire);
    if (drop > position) {
        // A sound cut while it plays fades out over a few samples instead of clicking; the rest of
        // what was dropped, and a sound that had not begun, are skipped.
        if (playing) {
            const std::size_t fade =
                static_cast<std::size_t>(std::min<std::uint64_t>(drop - position, kFadeSamples));
            for (; written < fade && written < frames; ++written) {
                const float weight =
                    1.0F - static_cast<float>(written + 1) / static_cast<float>(kFadeSamples + 1);
                out[written] = ring[(position + written) % kCapacity] * weight;
            }
        }
        position = drop;
    }
    const std::size_t available =
        static_cast<std::size_t>(std::min<std::uint64_t>(queued - position, frames - written));
    for (std::size_t k = 0; k < available; ++k) {
        out[written + k] = ring[(position + k) % kCapacity];
    }
    position += available;
    written += available;
    std::fill(out + written, out + frames, 0.0F);
    head.store(position, std::memory_order_release);
    playing = written > 0 && position < queued;

    if (position == queued && queued != publishedPosition) {
        // The queue ran empty in this buffer: the last sample is the last one written here, or,
        // when nothing was written (a dropped sound that had not begun), the one before it.
        endSample.store(
            std::max<std::int64_t>(0, firstSample + static_cast<std::int64_t>(written) - 1),
            std::memory_order_relaxed);
        endPosition.store(queued, std::memory_order_release);
        publishedPosition = queued;
    }
}

void CCueQueue::Restart() {
    mapping.Reset();
    framesRendered = 0;
    originKnown.store(false, std::memory_order_release);
    // What was queued for the old stream is not played on the new one.
    const std::uint64_t queued = tail.load(std::memory_order_acquire);
    head.store(queued, std::memory_order_release);
    dropTo.store(queued, std::memory_order_release);
    endSample.store(0, std::memory_order_relaxed);
    endPosition.store(queued, std::memory_order_release);
    publishedPosition = queued;
    playing = false;
}
