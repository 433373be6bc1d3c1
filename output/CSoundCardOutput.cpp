#include "output/CSoundCardOutput.h"

#include <portaudio.h>
#include <sched.h>

#include <algorithm>
#include <cmath>

#include "output/MonotonicClock.h"
#include "output/QuietSoundProbing.h"

namespace {

constexpr double kSampleRate = CToneRenderer::kSampleRate;
constexpr std::int64_t kUnitsInASecond = 10000000;
// Beyond the measured need: the send thread's own wake-up lateness, and half an edge, which
// begins before the element's nominal start.
constexpr std::int64_t kLeadMarginNanoseconds =
    1500000 + CToneRenderer::kRampSamples / 2 * 1000000000LL / CToneRenderer::kSampleRate;
// The need is measured over this much steady running of the stream before the first tone; a
// stream that never runs steadily is given up on after the longer bound.
constexpr std::int64_t kLeadMeasurementNanoseconds = 400000000;
constexpr std::int64_t kLeadWaitNanoseconds = 3000000000;
// The stream's latency asked for, in seconds. Stepping wants a press heard at once; continuous
// sending wants a buffer that outlasts the audio thread's late wake-ups on a busy machine, yet
// leaves the send thread most of the shortest word gap (210 ms at 200 characters a minute) between
// the moment the gap is heard, when its decisions are made, and the next word's first sample.
constexpr double kSteppingLatencySeconds = 0.02;
constexpr double kContinuousLatencySeconds = 0.08;
// Where the words stand this far apart or more (slow text speeds), a deeper buffer still leaves
// the send thread most of the gap.
constexpr std::int64_t kLongSilenceUnits = 6000000;
constexpr double kLongSilenceLatencySeconds = 0.25;
// A word gap's decision comes at the latest this long before the lead at which the next word must
// be keyed.
constexpr std::int64_t kDecisionMarginNanoseconds = 5000000;
// A send thread without real time decides a word gap this long before the gap is heard: on a busy
// desktop it may wake tens of milliseconds late, and the next word must be keyed a lead ahead of
// its sound. A pause asked for in the last moment of a word then falls at the next gap.
constexpr std::int64_t kOrdinaryDecisionAdvanceNanoseconds = 50000000;
// The audio thread's real-time priority, below the send thread's.
constexpr int kAudioThreadPriority = 10;
// A running stream whose callback has not come for this long has lost its sound server.
constexpr std::int64_t kStallNanoseconds = 500000000;
// On the sound server: how far ahead of the sound the silence nothing is decided for is written.
// A step press is heard this much after it, plus the server's own short output buffer; a
// continuous transmission only meets it at its start and after a pause, and holds only the fill
// while a word gap is undecided: the gap's decisions still come once it is heard, even at the
// highest speed (a 210 ms gap).
constexpr std::int64_t kServerFillNanoseconds = CPulseStream::kStallProofFillNanoseconds;
// Where the words stand far apart, the stream holds only this silence for most of each gap.
constexpr std::int64_t kLongSilenceFillNanoseconds = 300000000;
// What the server shows for the stream.
constexpr const char* kStreamName = "Brumlo";

std::int64_t FillFor(TransmissionPace pace, std::int64_t wordSilenceUnits) {
    return pace == TransmissionPace::Continuous && wordSilenceUnits >= kLongSilenceUnits
               ? kLongSilenceFillNanoseconds
               : kServerFillNanoseconds;
}

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
    if (OpenServerStream()) {
        SetOpen(true);
        return;
    }
    QuietSoundProbing();
    portAudioReady = Pa_Initialize() == paNoError;
    SetOpen(portAudioReady && OpenStream(kContinuousLatencySeconds));
}

bool CSoundCardOutput::OpenServerStream() {
    renderer.Reset();
    timelineEndSample = 0;
    lastToneEndSample = 0;
    leadNanoseconds = 0;
    audioGrantAsked = false;
    audioGrant = RealtimeGrant::Refused;
    server = CPulseStream::Open(
        kStreamName,
        [this](float* out, std::size_t frames, std::int64_t firstSample) {
            renderer.Render(out, frames, firstSample);
        },
        kAudioThreadPriority, kServerFillNanoseconds);
    if (!server) {
        return false;
    }
    streamLatencyNanoseconds = 0;
    openedAt = MonotonicNanoseconds();
    streamRunning = true;
    return true;
}

void CSoundCardOutput::PublishDecided() {
    if (server) {
        // The next tone's rising edge begins half an edge before its place.
        server->Decide(timelineEndSample - CToneRenderer::kRampSamples / 2);
    }
}

std::uint64_t CSoundCardOutput::Underruns() const {
    return server ? server->Underruns() : underruns.load(std::memory_order_relaxed);
}

CSoundCardOutput::~CSoundCardOutput() {
    CloseStream();
    if (portAudioReady) {
        Pa_Terminate();
    }
}

std::int64_t CSoundCardOutput::SamplesFor(std::int64_t durationUnits) {
    if (durationUnits <= 0) {
        return 0;
    }
    const std::int64_t scaled = durationUnits * static_cast<std::int64_t>(kSampleRate);
    return (scaled + kUnitsInASecond / 2) / kUnitsInASecond;
}

bool CSoundCardOutput::OpenStream(double latencySeconds) {
    renderer.Reset();
    mapping.Reset();
    framesRendered = 0;
    timelineEndSample = 0;
    lastToneEndSample = 0;
    originKnown = false;
    steadyNanoseconds = 0;
    leadNanoseconds = 0;
    audioThreadId = 0;
    audioGrantAsked = false;
    audioGrant = RealtimeGrant::Refused;
    streamLatencyAsked = latencySeconds;
    PaStreamParameters parameters{};
    parameters.device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* deviceInfo = Pa_GetDeviceInfo(parameters.device);
    if (deviceInfo == nullptr) {
        return false;
    }
    parameters.channelCount = 1;
    parameters.sampleFormat = paFloat32;
    // The lead measured on the running stream keeps every tone in time whatever the device makes
    // of the latency asked for.
    parameters.suggestedLatency = std::max(latencySeconds, deviceInfo->defaultLowOutputLatency);
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
    lastCallbackNanoseconds = openedAt;
    if (Pa_StartStream(stream) != paNoError) {
        CloseStream();
        return false;
    }
    streamRunning = true;
    return true;
}

void CSoundCardOutput::CloseStream() {
    streamRunning = false;
    server.reset();
    if (stream != nullptr) {
        Pa_AbortStream(stream);
        Pa_CloseStream(stream);
        stream = nullptr;
    }
}

bool CSoundCardOutput::StreamStalled() const {
    if (server) {
        return server->Lost();
    }
    return MonotonicNanoseconds() - lastCallbackNanoseconds > kStallNanoseconds ||
           Pa_IsStreamActive(stream) != 1;
}

void CSoundCardOutput::SetTone(std::int32_t hz) {
    toneFrequency = static_cast<float>(hz);
}

void CSoundCardOutput::BeginTransmission(TransmissionPace pace, std::int64_t wordSilenceUnits) {
    // Called on the send thread, after it has been given what scheduling it can get.
    const int policy = sched_getscheduler(0);
    decisionAdvanceNanoseconds =
        policy == SCHED_FIFO || policy == SCHED_RR ? 0 : kOrdinaryDecisionAdvanceNanoseconds;
    transmitting = true;
    if (server || !portAudioReady) {
        BeginServerTransmission(pace, wordSilenceUnits);
        beganOnStream = server && leadNanoseconds != 0;
        return;
    }
    lookAheadNanoseconds = pace == TransmissionPace::Continuous ? kLookAheadNanoseconds : 0;
    const double latency = pace == TransmissionPace::Stepping      ? kSteppingLatencySeconds
                           : wordSilenceUnits >= kLongSilenceUnits ? kLongSilenceLatencySeconds
                                                                   : kContinuousLatencySeconds;
    // The sound server went away (or never answered): try again with a new stream; the same when
    // the pace asks for another buffer. Nothing is keyed yet, and the user-interface thread does
    // not touch the stream.
    const bool lost = !streamRunning || StreamStalled();
    if (lost || latency != streamLatencyAsked) {
        CloseStream();
        if (OpenStream(latency) && lost) {
            ++reopenings;
        }
    }
    FixLead();
    RaiseAudioThread();
    PrepareConditions();
    beganOnStream = streamRunning && leadNanoseconds != 0;
}

OutputFailure CSoundCardOutput::Failure() const {
    if (!transmitting) {
        return {};
    }
    if (!beganOnStream) {
        return {OutputFault::kSoundUnavailable, 0};
    }
    const bool stopped =
        server ? server->Lost()
               : MonotonicNanoseconds() - lastCallbackNanoseconds.load(std::memory_order_acquire) >
                     kStallNanoseconds;
    return stopped ? OutputFailure{OutputFault::kSoundStopped, 0} : OutputFailure{};
}

void CSoundCardOutput::WaitWhileHeard(std::int64_t deadline) {
    constexpr std::int64_t kCheckNanoseconds = 20000000;
    while (server && !server->Lost() && deadline - MonotonicNanoseconds() > kCheckNanoseconds) {
        Timer().WaitUntil(MonotonicNanoseconds() + kCheckNanoseconds);
    }
    if (!server || !server->Lost()) {
        Timer().WaitUntil(deadline);
    }
}

void CSoundCardOutput::BeginServerTransmission(TransmissionPace pace,
                                               std::int64_t wordSilenceUnits) {
    // The server went away since the stream was opened, or there was none: a new stream, which
    // is the server's again when one answers.
    if (!server || server->Lost()) {
        serverLost = serverLost || server != nullptr;
        server.reset();
        streamRunning = false;
        if (!OpenServerStream()) {
            return;
        }
        if (serverLost) {
            serverLost = false;
            ++reopenings;
        }
    }
    server->SetFill(FillFor(pace, wordSilenceUnits));
    lookAheadNanoseconds = pace == TransmissionPace::Continuous ? kServerLookAheadNanoseconds : 0;
    // The clock is known once the server has told the stream's time.
    while (!server->Mapped() && MonotonicNanoseconds() - openedAt < kLeadWaitNanoseconds) {
        SleepUntilNanoseconds(MonotonicNanoseconds() + 5000000);
    }
    leadNanoseconds = server->Mapped() ? server->FillNanoseconds() + kLeadMarginNanoseconds : 0;
    RaiseAudioThread();
    PrepareConditions();
}

void CSoundCardOutput::PrepareConditions() {
    // The receiver is built here, before anything is keyed: its filters are allocated.
    conditionsBegun = false;
    preparedConditions.reset();
    if (conditionsSettings.ChangesSound()) {
        preparedConditions = std::make_unique<CReceptionConditions>(
            conditionsSettings, conditionsSeed,
            static_cast<int>(std::lround(toneFrequency.load(std::memory_order_relaxed))),
            renderer.Gain(), kSampleRate);
    }
}

void CSoundCardOutput::SetReceptionConditions(const ReceptionSettings& settings,
                                              std::uint64_t seed) {
    conditionsSettings = settings;
    conditionsSeed = seed;
}

void CSoundCardOutput::RaiseAudioThread() {
    if (server) {
        // The stream's thread asked for itself.
        audioGrant = server->Grant();
        return;
    }
    const pid_t thread = audioThreadId.load(std::memory_order_acquire);
    if (audioGrantAsked || thread == 0) {
        return;
    }
    audioGrantAsked = true;
    audioGrant = MakeThreadRealtime(thread, kAudioThreadPriority);
}

void CSoundCardOutput::EndTransmission() {
    const bool stopped = static_cast<bool>(Failure());
    transmitting = false;
    if (!onTimeline || stopped) {
        // Nothing more of a stopped stream is heard.
        conditionsBegun = false;
        return;
    }
    std::int64_t heardUntil = lastToneEndSample;
    if (conditionsBegun) {
        // The conditions go on for a tail after the last gap, as in a sound file, and fade out.
        conditionsBegun = false;
        renderer.EndConditions(timelineEndSample + CStreamRenderer::kTailSamples);
        heardUntil = std::max(heardUntil, renderer.ConditionsSilentFrom());
        if (server) {
            server->Decide(heardUntil + 1);
        }
    }
    WaitWhileHeard(TimeOfSample(heardUntil) + streamLatencyNanoseconds);
}

void CSoundCardOutput::FixLead() {
    if (!streamRunning || leadNanoseconds != 0) {
        return;
    }
    // Let the measurement of the callback's timing run its course on a steadily running stream.
    while (MonotonicNanoseconds() - openedAt < kLeadWaitNanoseconds &&
           steadyNanoseconds.load(std::memory_order_acquire) < kLeadMeasurementNanoseconds) {
        SleepUntilNanoseconds(MonotonicNanoseconds() + 10000000);
    }
    if (originKnown.load(std::memory_order_acquire)) {
        leadNanoseconds =
            requiredLeadNanoseconds.load(std::memory_order_acquire) + kLeadMarginNanoseconds;
    }
}

std::int64_t CSoundCardOutput::TimeOfSample(std::int64_t sample) const {
    return (server ? server->OriginNanoseconds()
                   : originNanoseconds.load(std::memory_order_acquire)) +
           static_cast<std::int64_t>(std::llround(static_cast<double>(sample) * 1e9 / kSampleRate));
}

void CSoundCardOutput::WaitForSample(std::int64_t sample) {
    WaitWhileHeard(TimeOfSample(sample) - leadNanoseconds - lookAheadNanoseconds);
}

void CSoundCardOutput::BeginSegment() {
    onTimeline = streamRunning && leadNanoseconds != 0 &&
                 (server ? server->Mapped() : originKnown.load(std::memory_order_acquire));
    if (!onTimeline) {
        return;
    }
    // The first sample whose silence is not written yet, and the half edge of the first tone.
    const std::int64_t open =
        server ? server->FirstOpenSample() + CToneRenderer::kRampSamples / 2
               : static_cast<std::int64_t>(std::llround(
                     static_cast<double>(MonotonicNanoseconds() + leadNanoseconds -
                                         originNanoseconds.load(std::memory_order_acquire)) *
                     kSampleRate / 1e9));
    segmentStartSample = std::max(timelineEndSample, open);
    if (preparedConditions) {
        // The transmission's first segment: its conditions begin here, the segment a lead-in
        // later, and never before the last conditions have faded out.
        std::int64_t origin = segmentStartSample;
        if (const std::int64_t silent = renderer.ConditionsSilentFrom();
            silent != CStreamRenderer::kNoEnd) {
            origin = std::max(origin, silent);
        }
        preparedConditions->SetTone(
            static_cast<int>(std::lround(toneFrequency.load(std::memory_order_relaxed))));
        renderer.BeginConditions(std::move(preparedConditions), origin);
        conditionsBegun = true;
        segmentStartSample = origin + CStreamRenderer::kLeadInSamples;
    }
    timelineEndSample = segmentStartSample;
    PublishDecided();
}

void CSoundCardOutput::KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                                     std::int32_t keyUnits) {
    if (!onTimeline) {
        // No clock of the stream's: the element keeps its time without sound.
        Timer().Wait(keyUnits);
        return;
    }
    // Both edges are rounded to their samples, so that elements and gaps alike are within a
    // sample of the model however long the segment.
    const std::int64_t start = segmentStartSample + SamplesFor(startUnits);
    const std::int64_t end = segmentStartSample + SamplesFor(startUnits + lengthUnits);
    if (end > start) {
        renderer.Push({start, end - start, toneFrequency.load(std::memory_order_relaxed)});
        lastToneEndSample = end;
    }
    timelineEndSample = std::max(timelineEndSample, end);
    PublishDecided();
    WaitForSample(end);
}

bool CSoundCardOutput::WaitOnTimeline(std::int64_t endUnits) {
    if (!onTimeline) {
        return false;
    }
    const std::int64_t end = segmentStartSample + SamplesFor(endUnits);
    timelineEndSample = std::max(timelineEndSample, end);
    PublishDecided();
    WaitForSample(end);
    return true;
}

void CSoundCardOutput::WaitUntilHeard(std::int64_t units) {
    if (onTimeline) {
        // After a speed change to a faster one the buffer may be deeper than the gap: the gap is
        // then decided when the next word must be keyed, a little before it is heard.
        const std::int64_t lastMoment =
            TimeOfSample(timelineEndSample) - leadNanoseconds - kDecisionMarginNanoseconds;
        WaitWhileHeard(
            std::min(HeardAtNanoseconds(units) - decisionAdvanceNanoseconds, lastMoment));
    }
}

std::int64_t CSoundCardOutput::HeardAtNanoseconds(std::int64_t units) const {
    if (!onTimeline) {
        return 0;
    }
    return TimeOfSample(segmentStartSample + SamplesFor(units)) + streamLatencyNanoseconds;
}

std::int64_t CSoundCardOutput::PlayOnTimeline(std::int64_t startUnits, std::vector<float> samples) {
    if (!onTimeline || samples.empty()) {
        return 0;
    }
    const std::int64_t start = segmentStartSample + SamplesFor(startUnits);
    const auto count = static_cast<std::int64_t>(samples.size());
    if (!renderer.PushClip(start, std::move(samples))) {
        return 0;
    }
    // Heard to its end before the transmission counts as over.
    lastToneEndSample = std::max(lastToneEndSample, start + count);
    timelineEndSample = std::max(timelineEndSample, start + count);
    PublishDecided();
    constexpr std::int64_t kRate = CToneRenderer::kSampleRate;
    return (count * static_cast<std::int64_t>(kUnitsPerSecond) + kRate - 1) / kRate;
}

void CSoundCardOutput::Key(std::int32_t durationUnits) {
    BeginSegment();
    KeyOnTimeline(0, durationUnits, durationUnits);
}

void CSoundCardOutput::SetVolume(std::uint32_t newVolume) {
    renderer.SetGain(static_cast<float>(newVolume & 0xFFFFU) / 65535.0F);
}

void CSoundCardOutput::RenderBuffer(float* out, unsigned long frames, bool underrun) {
    const std::int64_t now = MonotonicNanoseconds();
    // The one system call of a stream's callbacks, in its first, before any tone is queued: the
    // audio thread's id, for its real-time scheduling.
    if (framesRendered == 0 && audioThreadId.load(std::memory_order_relaxed) == 0) {
        audioThreadId.store(CurrentThreadId(), std::memory_order_release);
    }
    if (underrun) {
        underruns.fetch_add(1, std::memory_order_relaxed);
    }
    mapping.Observe(now, framesRendered, static_cast<std::int64_t>(frames), underrun);
    originNanoseconds.store(mapping.OriginNanoseconds(), std::memory_order_release);
    requiredLeadNanoseconds.store(mapping.RequiredLeadNanoseconds(), std::memory_order_release);
    steadyNanoseconds.store(mapping.SteadyNanoseconds(now), std::memory_order_release);
    originKnown.store(true, std::memory_order_release);
    renderer.Render(out, frames, framesRendered);
    framesRendered += static_cast<std::int64_t>(frames);
    lastCallbackNanoseconds.store(now, std::memory_order_release);
}
