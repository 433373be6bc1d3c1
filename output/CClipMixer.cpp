#include "output/CClipMixer.h"

#include <algorithm>
#include <utility>

bool CClipMixer::Push(std::int64_t startSample, std::vector<float> samples) {
    FreeHeard();
    const std::size_t currentTail = tail.load(std::memory_order_relaxed);
    const std::size_t next = (currentTail + 1) % kQueueSize;
    if (samples.empty() || next == head.load(std::memory_order_acquire)) {
        return false;
    }
    const auto end = startSample + static_cast<std::int64_t>(samples.size());
    // The vector's buffer stays where it is when the vector moves into the list.
    owned.push_back({end, std::move(samples)});
    queue[currentTail] = {startSample, end, owned.back().samples.data()};
    tail.store(next, std::memory_order_release);
    lastEnd = std::max(lastEnd, end);
    return true;
}

void CClipMixer::FreeHeard() {
    // A clip the consumer has mixed to its end is no longer read; nor is one it dropped, whose
    // end it has also passed.
    const std::int64_t mixed = mixedUntil.load(std::memory_order_acquire);
    while (!owned.empty() && owned.front().end <= mixed) {
        owned.pop_front();
    }
}

void CClipMixer::Mix(float* out, std::size_t frames, std::int64_t firstSample, float gain) {
    const std::int64_t last = firstSample + static_cast<std::int64_t>(frames);
    std::size_t currentHead = head.load(std::memory_order_relaxed);
    const std::size_t currentTail = tail.load(std::memory_order_acquire);
    // Clips come in time order; one that overlaps the next is mixed with it.
    bool atFront = true;
    for (std::size_t index = currentHead; index != currentTail; index = (index + 1) % kQueueSize) {
        const Clip& clip = queue[index];
        if (clip.start >= last) {
            break;
        }
        const std::int64_t from = std::max(clip.start, firstSample);
        const std::int64_t until = std::min(clip.end, last);
        for (std::int64_t n = from; n < until; ++n) {
            out[n - firstSample] += gain * clip.samples[n - clip.start];
        }
        // A clip mixed to its end frees its slot once those before it have.
        atFront = atFront && clip.end <= last;
        if (atFront) {
            currentHead = (index + 1) % kQueueSize;
            head.store(currentHead, std::memory_order_release);
        }
    }
    mixedUntil.store(last, std::memory_order_release);
}

void CClipMixer::Reset() {
    head.store(0);
    tail.store(0);
    mixedUntil.store(0);
    owned.clear();
    lastEnd = 0;
}
