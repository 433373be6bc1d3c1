#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "output/CClipMixer.h"
#include "output/CReceptionConditions.h"
#include "output/CToneRenderer.h"

// What the sound card's stream plays: the keyed tones of CToneRenderer and, over a transmission
// keyed under reception conditions, those conditions applied to the tones and their keying
// envelope. A transmission's conditions begin at a sample of their own, its origin, a lead-in
// before its first tone: there the sine starts again at phase 0 and the conditions fade in over
// an edge. They end at a sample the producer gives once the transmission is over, a tail after
// its last gap, and fade out over an edge after that. Rendered in blocks of any size from the
// same origin, the samples are the same, so that the stream and a sound file agree sample for
// sample. Without conditions the samples are exactly the tone renderer's.
//
// Threads: one producer (the send thread, or whoever renders a file) pushes tones and begins and
// ends the conditions; one consumer (the audio callback) renders. Render never allocates, locks
// or calls the system. Conditions the consumer may still hold are freed by the producer only
// after the consumer has finished a Render that began after they were replaced.
class CStreamRenderer {
public:
    // The silence of a transmission under conditions before its first tone and after its last
    // gap, in samples (0.1 s and 0.2 s).
    static constexpr std::int64_t kLeadInSamples = 4410;
    static constexpr std::int64_t kTailSamples = 8820;
    // The edge over which the conditions fade in and out.
    static constexpr std::int64_t kFadeSamples = CToneRenderer::kRampSamples;
    // The most samples rendered at a time under conditions: the keying envelope's buffer.
    static constexpr std::size_t kBlockFrames = 512;
    static constexpr std::int64_t kNoEnd = std::numeric_limits<std::int64_t>::max();

    CStreamRenderer();
    ~CStreamRenderer();
    CStreamRenderer(const CStreamRenderer&) = delete;
    CStreamRenderer& operator=(const CStreamRenderer&) = delete;

    // Producer: queues a tone (see CToneRenderer::Push).
    bool Push(const ToneEvent& event) { return tones.Push(event); }
    // Producer: `samples` heard from `startSample` on, at the tones' gain and over any
    // conditions, as a voice beside the receiver (see CClipMixer::Push).
    bool PushClip(std::int64_t startSample, std::vector<float> samples) {
        return clips.Push(startSample, std::move(samples));
    }
    // Producer: `conditions` apply from `originSample` on, in place of any before. The origin must
    // not have been rendered yet; conditions that arrive late begin where the stream is.
    void BeginConditions(std::unique_ptr<CReceptionConditions> conditions,
                         std::int64_t originSample);
    // Producer: the conditions begun last end at `endSample` and are silent an edge later.
    void EndConditions(std::int64_t endSample);
    // Producer: the last sample the conditions begun last make a sound at, or kNoEnd while they
    // have not ended; 0 when there are none.
    std::int64_t ConditionsSilentFrom() const;

    // Consumer: fills `frames` samples that begin at absolute sample `firstSample`.
    void Render(float* out, std::size_t frames, std::int64_t firstSample);

    // Drops every tone and the conditions; only while Render does not run.
    void Reset();

    void SetGain(float newGain) { tones.SetGain(newGain); }
    float Gain() const { return tones.Gain(); }
    std::uint64_t LateEvents() const { return tones.LateEvents(); }
    // Conditions whose origin had already been rendered when they arrived.
    std::uint64_t LateConditions() const { return lateConditions.load(std::memory_order_relaxed); }

private:
    struct Span {
        std::unique_ptr<CReceptionConditions> conditions;
        std::int64_t origin = 0;
        std::atomic<std::int64_t> end{kNoEnd};
        // The consumer's own: whether it has begun rendering the span, and the tone it last told
        // the conditions.
        bool begun = false;
        float frequency = 0.0F;
    };
    struct Retired {
        std::unique_ptr<Span> span;
        std::uint64_t renderedBefore;
    };

    void RenderConditions(Span& span, float* out, std::size_t frames, std::int64_t firstSample,
                          std::int64_t end);
    void FreeRetired();

    CToneRenderer tones;
    CClipMixer clips;
    // The span in force. The consumer loads it at the start of every Render and counts `renders`
    // at the end; the producer replaces it and then reads `renders`. Both pairs are sequentially
    // consistent, so that a Render that counts after that reading loads the new span: once the
    // count has passed the reading, nothing holds the old one.
    std::atomic<Span*> offered{nullptr};
    std::atomic<std::uint64_t> renders{0};
    std::atomic<std::uint64_t> lateConditions{0};

    // Producer's own.
    std::unique_ptr<Span> current;
    std::vector<Retired> retired;

    // Consumer's own.
    std::array<float, kBlockFrames> envelope{};
    std::array<float, kFadeSamples + 1> fade{};
};
