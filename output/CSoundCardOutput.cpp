#include "output/CSoundCardOutput.h"

#include <portaudio.h>

#include <cmath>

#include "output/MonotonicClock.h"
#include "output/QuietSoundProbing.h"

namespace {

constexpr double kSampleRate = CToneRenderer::kSampleRate;
constexpr std::int64_t kUnitsPerSecond = 10000000;
// Kept above the measured need, so that scheduling noise after the measurement does not make
// tones late.
constexpr std::int64_t kLeadMarginNanoseconds = 2000000;
// The need is measured over this much steady running of the stream before the first tone.
constexpr std::int64_t kLeadMeasurementNanoseconds = 300000000;
// The first Key waits at most this long for the stream to run steadily.
constexpr std::int64_t kLeadWaitNanoseconds = 3000000000;
// A running stream whose callback has not come for this long has lost its sound server.
constexpr std::int64_t kStallNanoseconds = 500000000;

}  // namespace

// Connects the C callback of PortAudio to the device.
struct CSoundCardStream {
    static int Callback(const void*, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags statusFlags,
                        void* userData) {
        static_cast<CSoundCardOutput*>(userData)->RenderBuffer(
            static_cast<float*>(output), frames, (statusFlags & paOutputUnderflow) != 0);
        return paContinue;
    }
};

CSoundCardOutput::CSoundCardOutput() {
    frequency = 450;
    QuietSoundProbing();
    portAudioReady = Pa_Initialize() == paNoError;
    SetOpen(portAudioReady && OpenStream());
}

CSoundCardOutput::~CSoundCardOutput() {
    CloseStream();
    if (portAudioReady) {
        Pa_Terminate();
    }
}

std::int64_t CSoundCardOutput::SamplesFor(std::int32_t durationUnits) {
    if (durationUnits <= 0) {
        return 0;
    }
    const std::int64_t scaled =
        static_cast<std::int64_t>(durationUnits) * static_cast<std::int64_t>(kSampleRate);
    return (scaled + kUnitsPerSecond / 2) / kUnitsPerSecond;
}

bool CSoundCardOutput::OpenStream() {
    renderer.Reset();
    mapping.Reset();
    framesRendered = 0;
    originKnown = false;
    steadySinceNanoseconds = 0;
    PaStreamParameters parameters{};
    parameters.device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* deviceInfo = Pa_GetDeviceInfo(parameters.device);
    if (deviceInfo == nullptr) {
        return false;
    }
    parameters.channelCount = 1;
    parameters.sampleFormat = paFloat32;
    // The higher of the device's latencies: the lead hides it from the timing, and it keeps the
    // stream from running dry on a busy system, which would shift every later tone.
    parameters.suggestedLatency = deviceInfo->defaultHighOutputLatency;
    PaStream* newStream = nullptr;
    if (Pa_OpenStream(&newStream, nullptr, &parameters, kSampleRate, paFramesPerBufferUnspecified,
                      paNoFlag, &CSoundCardStream::Callback, this) != paNoError) {
        return false;
    }
    stream = newStream;
    if (const PaStreamInfo* info = Pa_GetStreamInfo(stream)) {
        streamLatencyNanoseconds = static_cast<std::int64_t>(info->outputLatency * 1e9);
    }
    openedAt = MonotonicNanoseconds();
    lastCallbackNanoseconds = openedAt.load();
    if (Pa_StartStream(stream) != paNoError) {
        CloseStream();
        return false;
    }
    streamRunning = true;
    return true;
}

void CSoundCardOutput::CloseStream() {
    streamRunning = false;
    if (stream != nullptr) {
        Pa_AbortStream(stream);
        Pa_CloseStream(stream);
        stream = nullptr;
    }
}

bool CSoundCardOutput::StreamStalled() const {
    return MonotonicNanoseconds() - lastCallbackNanoseconds > kStallNanoseconds ||
           Pa_IsStreamActive(stream) != 1;
}

void CSoundCardOutput::SetTone(std::int32_t hz) {
    frequency = hz;
    toneFrequency = static_cast<float>(hz);
    if (!portAudioReady || (streamRunning && !StreamStalled())) {
        return;
    }
    // The sound server went away (or never answered): try again with a new stream.
    CloseStream();
    OpenStream();
}

std::int64_t CSoundCardOutput::FixLead() {
    if (leadNanoseconds == 0) {
        // Let the measurement of the callback's timing run its course; a stream that never calls
        // back is caught by the wait's bound.
        const std::int64_t deadline = openedAt + kLeadMeasurementNanoseconds;
        SleepUntilNanoseconds(deadline);
        leadNanoseconds =
            requiredLeadNanoseconds.load(std::memory_order_acquire) + kLeadMarginNanoseconds;
    }
    return leadNanoseconds;
}

void CSoundCardOutput::Key(std::int32_t durationUnits) {
    std::int64_t now = MonotonicNanoseconds();
    const std::int64_t lengthSamples = SamplesFor(durationUnits);
    if (streamRunning && lengthSamples > 0) {
        if (leadNanoseconds == 0) {
            FixLead();
            now = MonotonicNanoseconds();
        }
        if (originKnown.load(std::memory_order_acquire)) {
            const double start =
                static_cast<double>(now + leadNanoseconds -
                                    originNanoseconds.load(std::memory_order_acquire)) *
                kSampleRate / 1e9;
            renderer.Push({static_cast<std::int64_t>(std::llround(start)), lengthSamples,
                           toneFrequency.load(std::memory_order_relaxed)});
        }
    }
    SleepUntilNanoseconds(now +
                          static_cast<std::int64_t>(durationUnits > 0 ? durationUnits : 0) * 100);
}

std::chrono::nanoseconds CSoundCardOutput::OutputLatency() const {
    return std::chrono::nanoseconds(leadNanoseconds + streamLatencyNanoseconds);
}

void CSoundCardOutput::SetVolume(std::uint32_t newVolume) {
    volume = newVolume;
    renderer.SetGain(static_cast<float>(newVolume & 0xFFFFU) / 65535.0F);
}

void CSoundCardOutput::RenderBuffer(float* out, unsigned long frames, bool underrun) {
    const std::int64_t now = MonotonicNanoseconds();
    if (underrun) {
        underruns.fetch_add(1, std::memory_order_relaxed);
    }
    mapping.Observe(now, framesRendered, underrun);
    originNanoseconds.store(mapping.OriginNanoseconds(), std::memory_order_release);
    requiredLeadNanoseconds.store(mapping.RequiredLeadNanoseconds(), std::memory_order_release);
    originKnown.store(true, std::memory_order_release);
    steadySinceNanoseconds.store(now - mapping.SteadyNanoseconds(now), std::memory_order_release);
    renderer.Render(out, frames, framesRendered);
    framesRendered += static_cast<std::int64_t>(frames);
    lastCallbackNanoseconds.store(now, std::memory_order_release);
}
