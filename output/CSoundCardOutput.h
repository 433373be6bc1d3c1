#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "output/CClockMapping.h"
#include "output/COutputDevice.h"
#include "output/CToneRenderer.h"

using PaStream = void;

// The sound card: one PortAudio output stream on the default device, opened by the constructor
// and kept running (silence between tones) for the device's life. Key places each tone at its
// exact sample, a constant lead after the moment Key was called, and sleeps for the duration;
// it never waits for the audio buffer. When no stream can be opened, or the sound server goes
// away, Key still keeps time without sound.
// Key and SetTone run on the send thread (SetTone also on the user-interface thread while no Key
// runs); the volume calls on the user-interface thread; the stream callback on the audio thread.
class CSoundCardOutput : public COutputDevice {
public:
    CSoundCardOutput();
    ~CSoundCardOutput() override;

    void Key(std::int32_t durationUnits) override;
    // Also reopens the stream when the sound server has gone away since it was opened.
    void SetTone(std::int32_t hz) override;
    std::chrono::nanoseconds OutputLatency() const override;

    // Volume as 16 bits per channel, left in the low word; full at start. Mono: the left
    // channel's level is the gain.
    std::uint32_t GetVolume() const { return volume; }
    void SetVolume(std::uint32_t newVolume) override;

    // The constant lead from Key to the tone's first sample (fixed at the first Key), and the
    // number of tones that arrived too late to be placed exactly.
    std::chrono::nanoseconds Lead() const { return std::chrono::nanoseconds(leadNanoseconds); }
    std::uint64_t LateEvents() const { return renderer.LateEvents(); }
    // Buffers the stream reported as played too late (each shifts the tones after it).
    std::uint64_t Underruns() const { return underruns.load(std::memory_order_relaxed); }

    // The tone length of a Key duration in samples, rounded to the nearest sample.
    static std::int64_t SamplesFor(std::int32_t durationUnits);

private:
    bool OpenStream();
    void CloseStream();
    bool StreamStalled() const;
    std::int64_t FixLead();
    // The audio callback's work: maps the buffer to the clock and renders it.
    void RenderBuffer(float* out, unsigned long frames, bool underrun);
    friend struct CSoundCardStream;

    bool portAudioReady = false;
    PaStream* stream = nullptr;
    std::atomic<bool> streamRunning{false};
    std::atomic<float> toneFrequency{450.0F};
    std::atomic<std::uint32_t> volume{0xFFFFFFFFU};
    std::atomic<std::int64_t> streamLatencyNanoseconds{0};
    std::atomic<std::int64_t> leadNanoseconds{0};
    std::atomic<std::int64_t> openedAt{0};

    // Written by the callback, read by Key.
    std::atomic<std::int64_t> originNanoseconds{0};
    std::atomic<std::int64_t> requiredLeadNanoseconds{0};
    std::atomic<std::int64_t> lastCallbackNanoseconds{0};
    std::atomic<std::int64_t> steadySinceNanoseconds{0};
    std::atomic<bool> originKnown{false};
    std::atomic<std::uint64_t> underruns{0};

    // Callback state.
    CToneRenderer renderer;
    CClockMapping mapping{CToneRenderer::kSampleRate};
    std::int64_t framesRendered = 0;
};
