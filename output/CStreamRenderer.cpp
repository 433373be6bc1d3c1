#include "output/CStreamRenderer.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr double kPi = 3.141592653589793;

}  // namespace

CStreamRenderer::CStreamRenderer() {
    // fade[k] is the fading-in edge k samples after it begins.
    for (std::size_t k = 0; k < fade.size(); ++k) {
        fade[k] =
            static_cast<float>(0.5 * (1.0 - std::cos(kPi * static_cast<double>(k) / kFadeSamples)));
    }
    retired.reserve(4);
}

CStreamRenderer::~CStreamRenderer() = default;

void CStreamRenderer::BeginConditions(std::unique_ptr<CReceptionConditions> conditions,
                                      std::int64_t originSample) {
    FreeRetired();
    auto span = std::make_unique<Span>();
    span->conditions = std::move(conditions);
    span->origin = originSample;
    span->frequency = 0.0F;
    offered.store(span.get());
    if (current) {
        retired.push_back({std::move(current), renders.load()});
    }
    current = std::move(span);
}

void CStreamRenderer::EndConditions(std::int64_t endSample) {
    if (current) {
        current->end.store(endSample, std::memory_order_release);
    }
}

std::int64_t CStreamRenderer::ConditionsSilentFrom() const {
    if (!current) {
        return 0;
    }
    const std::int64_t end = current->end.load(std::memory_order_relaxed);
    return end == kNoEnd ? kNoEnd : end + kFadeSamples;
}

void CStreamRenderer::FreeRetired() {
    const std::uint64_t rendered = renders.load();
    std::erase_if(retired, [rendered](const Retired& r) { return rendered > r.renderedBefore; });
}

void CStreamRenderer::Reset() {
    tones.Reset();
    clips.Reset();
    offered.store(nullptr);
    current.reset();
    retired.clear();
}

void CStreamRenderer::Render(float* out, std::size_t frames, std::int64_t firstSample) {
    Span* span = offered.load();
    const std::int64_t last = firstSample + static_cast<std::int64_t>(frames);
    std::int64_t from = last;
    std::int64_t until = last;
    std::int64_t end = kNoEnd;
    if (span != nullptr) {
        end = span->end.load(std::memory_order_acquire);
        if (!span->begun && firstSample > span->origin) {
            // The origin has gone by: the conditions begin here, their lead-in cut short.
            lateConditions.fetch_add(1, std::memory_order_relaxed);
            span->origin = firstSample;
        }
        from = std::clamp(span->origin, firstSample, last);
        until = end == kNoEnd ? last : std::clamp(end + kFadeSamples, from, last);
    }
    // Before the conditions and after them the stream is the tone renderer's alone, rendered in
    // one go as it always is.
    if (from > firstSample) {
        tones.Render(out, static_cast<std::size_t>(from - firstSample), firstSample);
    }
    if (until > from) {
        RenderConditions(*span, out + (from - firstSample), static_cast<std::size_t>(until - from),
                         from, end);
    }
    if (last > until) {
        tones.Render(out + (until - firstSample), static_cast<std::size_t>(last - until), until);
    }
    clips.Mix(out, frames, firstSample, tones.Gain());
    renders.fetch_add(1);
}

void CStreamRenderer::RenderConditions(Span& span, float* out, std::size_t frames,
                                       std::int64_t firstSample, std::int64_t end) {
    if (!span.begun) {
        span.begun = true;
        // A sound file's sine begins at its origin: so does the stream's.
        if (firstSample == span.origin) {
            tones.RestartPhase();
        }
        span.frequency = tones.Frequency();
    }
    CReceptionConditions& conditions = *span.conditions;
    for (std::size_t done = 0; done < frames; done += kBlockFrames) {
        const std::size_t count = std::min(kBlockFrames, frames - done);
        float* block = out + done;
        const std::int64_t first = firstSample + static_cast<std::int64_t>(done);
        tones.Render(block, envelope.data(), count, first);
        // The receiver follows the wanted tone when it changes (between words).
        if (tones.Frequency() != span.frequency) {
            span.frequency = tones.Frequency();
            conditions.SetTone(static_cast<int>(std::lround(span.frequency)));
        }
        conditions.SetSignalAmplitude(tones.Gain());
        conditions.Render(block, envelope.data(), count);
        // The fades, by each sample's place from the origin and the end alone.
        const std::int64_t fadeInUntil = span.origin + kFadeSamples;
        for (std::size_t i = 0; i < count; ++i) {
            const std::int64_t n = first + static_cast<std::int64_t>(i);
            if (n < fadeInUntil) {
                block[i] *= fade[static_cast<std::size_t>(n - span.origin)];
            }
            if (n >= end) {
                block[i] *= fade[static_cast<std::size_t>(kFadeSamples - (n - end))];
            }
        }
    }
}
