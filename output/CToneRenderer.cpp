#include "output/CToneRenderer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr std::int64_t kHalfRamp = CToneRenderer::kRampSamples / 2;

}  // namespace

CToneRenderer::CToneRenderer() {
    // ramp[k] is the rising edge k samples after it begins: 0.5 at k = kHalfRamp.
    for (int k = 0; k <= kRampSamples; ++k) {
        ramp[static_cast<std::size_t>(k)] =
            static_cast<float>(0.5 * (1.0 - std::cos(kTwoPi / 2.0 * k / kRampSamples)));
    }
}

bool CToneRenderer::Push(const ToneEvent& event) {
    const std::size_t currentTail = tail.load(std::memory_order_relaxed);
    const std::size_t next = (currentTail + 1) % kQueueSize;
    if (next == head.load(std::memory_order_acquire)) {
        return false;
    }
    queue[currentTail] = event;
    tail.store(next, std::memory_order_release);
    return true;
}

void CToneRenderer::Reset() {
    head.store(tail.load(std::memory_order_acquire), std::memory_order_release);
    activeCount = 0;
}

float CToneRenderer::Envelope(const ToneEvent& event, std::int64_t n) const {
    const std::int64_t rise = n - (event.startSample - kHalfRamp);
    const std::int64_t fall = (event.startSample + event.lengthSamples + kHalfRamp) - n;
    if (rise <= 0 || fall <= 0) {
        return 0.0F;
    }
    const float up = rise >= kRampSamples ? 1.0F : ramp[static_cast<std::size_t>(rise)];
    const float down = fall >= kRampSamples ? 1.0F : ramp[static_cast<std::size_t>(fall)];
    return std::min(up, down);
}

void CToneRenderer::Render(float* out, float* keyEnvelope, std::size_t frames,
                           std::int64_t firstSample) {
    // Take the queued events whose rising edge begins within this buffer (events arrive in time
    // order); later ones stay queued, so the active list holds only the few that overlap it.
    const std::int64_t bufferEnd = firstSample + static_cast<std::int64_t>(frames);
    std::size_t currentHead = head.load(std::memory_order_relaxed);
    while (activeCount < kActiveSize && currentHead != tail.load(std::memory_order_acquire) &&
           queue[currentHead].startSample - kHalfRamp < bufferEnd) {
        ToneEvent event = queue[currentHead];
        currentHead = (currentHead + 1) % kQueueSize;
        if (event.startSample - kHalfRamp < firstSample) {
            event.startSample = firstSample + kHalfRamp;
            lateEvents.fetch_add(1, std::memory_order_relaxed);
        }
        active[activeCount++] = event;
    }
    head.store(currentHead, std::memory_order_release);

    const float startGain = gain;
    const float endGain = targetGain.load(std::memory_order_relaxed);
    const float gainStep = frames > 0 ? (endGain - startGain) / static_cast<float>(frames) : 0.0F;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::int64_t n = firstSample + static_cast<std::int64_t>(i);
        float envelope = 0.0F;
        for (std::size_t e = 0; e < activeCount; ++e) {
            const float value = Envelope(active[e], n);
            if (value > envelope) {
                envelope = value;
                frequency = active[e].frequency;
            }
        }
        out[i] = static_cast<float>(std::sin(phase)) * envelope *
                 (startGain + gainStep * static_cast<float>(i));
        if (keyEnvelope != nullptr) {
            keyEnvelope[i] = envelope;
        }
        // The phase runs on in silence too, so that every tone continues one sine.
        phase += kTwoPi * frequency / kSampleRate;
        if (phase >= kTwoPi) {
            phase -= kTwoPi;
        }
    }
    gain = endGain;

    // Drop the events that have ended within this buffer.
    std::size_t kept = 0;
    for (std::size_t e = 0; e < activeCount; ++e) {
        if (active[e].startSample + active[e].lengthSamples + kHalfRamp > bufferEnd) {
            active[kept++] = active[e];
        }
    }
    activeCount = kept;
}
