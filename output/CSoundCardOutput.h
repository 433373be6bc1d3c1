#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>

#include "core/ReceptionSettings.h"
#include "output/CClockMapping.h"
#include "output/COutputDevice.h"
#include "output/CPulseStream.h"
#include "output/CStreamRenderer.h"
#include "output/CToneRenderer.h"
#include "output/RealtimeScheduling.h"

using PaStream = void;

// The sound card: one output stream, kept running (silence between tones) for the device's life.
// Where the desktop has a sound server, the stream is the server's own (CPulseStream): what the
// transmission has decided (every tone and gap up to the next word gap not yet decided) is written
// into the server's buffer at once, up to seconds ahead of the sound, by a thread of the stream's;
// only the silence nothing has been decided for yet is written as it comes due. Without a server
// the stream is PortAudio's on the default ALSA device, fed by its callback. Its samples are the
// clock of the transmission: each
// segment begins a constant lead after the moment it is begun, and every element is placed on it
// at the sample of its place on the model's timeline, with the model's length. The send thread is
// paced by the same clock, so that the thread, the marking of the text and the sound stay
// together however the sound card's clock drifts against the system's.
// While a text is sent continuously the thread keys a look-ahead in front of the sound, and a
// PortAudio stream runs with a generous buffer, as deep as the silence between two words allows (a
// word gap must still be decided when it is heard and the next word keyed after that): neither a
// late wake-up of the send thread nor one of the audio thread on a busy machine changes a sample.
// Decisions that belong to a word gap wait for the sound (WaitUntilHeard), and the marking is
// timed by HeardAtNanoseconds. When stepping, a
// press must be heard soon: the thread keys only the lead ahead, which on the sound server is the
// silence it holds ahead (150 ms, which outlasts a stalled machine), and a PortAudio stream runs
// with a short buffer. The lead comes from the stream's measured behaviour. When no stream runs, or
// the sound server goes away, the device reports it (Failure) and keys nothing more that could be
// heard; a transmission that begins after the server has gone opens a new stream.
// Under reception conditions that change the sound, a transmission's first segment begins a
// lead-in later, and the stream renders the conditions from the start of that lead-in to a tail
// after the transmission's last gap, as a sound file of the same transmission has them: the same
// seed gives the same samples.
// Threads: Key, the timeline calls, SetReceptionConditions and SetTone run on the send thread
// (SetTone also on the user-interface thread while no transmission runs); the volume on the
// user-interface thread; the stream callback on the audio thread.
class CSoundCardOutput : public COutputDevice {
public:
    CSoundCardOutput();
    ~CSoundCardOutput() override;

    // A tone of `durationUnits` that begins a segment of its own.
    void Key(std::int32_t durationUnits) override;
    void SetTone(std::int32_t hz) override;
    void SetVolume(std::uint32_t newVolume) override;
    void SetReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed) override;

    // Opens the stream anew when the sound server has gone away since it was opened or the pace
    // asks for another buffer, fixes the lead when it is not known yet, and asks for real-time
    // scheduling of the audio thread.
    void BeginTransmission(TransmissionPace pace, std::int64_t wordSilenceUnits) override;
    // Returns once everything keyed has been heard.
    void EndTransmission() override;
    void BeginSegment() override;
    void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                       std::int32_t keyUnits) override;
    bool WaitOnTimeline(std::int64_t endUnits) override;
    void WaitUntilHeard(std::int64_t units) override;
    std::int64_t HeardAtNanoseconds(std::int64_t units) const override;
    std::int64_t PlayOnTimeline(std::int64_t startUnits, std::vector<float> samples) override;
    // kSoundUnavailable when the transmission found no stream with a known clock, kSoundStopped
    // once its stream has stopped playing (the server went away, the callbacks ceased).
    OutputFailure Failure() const override;

    // The constant lead from the moment a segment begins to its first sample, and the number of
    // tones that arrived too late to be placed exactly.
    std::chrono::nanoseconds Lead() const { return std::chrono::nanoseconds(leadNanoseconds); }
    std::uint64_t LateEvents() const { return renderer.LateEvents(); }
    // Transmissions whose conditions arrived after their lead-in had begun to play.
    std::uint64_t LateConditions() const { return renderer.LateConditions(); }
    // Buffers the stream reported as played too late (each shifts the tones after it).
    std::uint64_t Underruns() const;
    // Streams opened again after the sound server went away.
    int Reopenings() const { return reopenings; }
    // The stream's own latency: from the moment a sample is rendered to the moment it is heard.
    std::chrono::nanoseconds StreamLatency() const {
        return std::chrono::nanoseconds(streamLatencyNanoseconds);
    }
    // How far ahead of the sound the send thread keys while sending continuously: into a
    // PortAudio stream's buffer, and into the sound server's.
    static constexpr std::int64_t kLookAheadNanoseconds = 300000000;
    static constexpr std::int64_t kServerLookAheadNanoseconds = 2000000000;
    // Whether the stream is the sound server's own.
    bool OnSoundServer() const { return server != nullptr; }
    // Whether the audio thread runs with real-time scheduling, and who granted it.
    RealtimeGrant AudioThreadGrant() const { return audioGrant; }

    // A duration on the timeline in samples, rounded to the nearest sample.
    static std::int64_t SamplesFor(std::int64_t durationUnits);

private:
    bool OpenStream(double latencySeconds);
    bool OpenServerStream();
    void BeginServerTransmission(TransmissionPace pace, std::int64_t wordSilenceUnits);
    // Builds the receiver of the next transmission's conditions.
    void PrepareConditions();
    // Tells the server's stream how far the timeline is decided.
    void PublishDecided();
    void CloseStream();
    bool StreamStalled() const;
    void FixLead();
    // The monotonic time at which the stream renders absolute sample `sample`.
    std::int64_t TimeOfSample(std::int64_t sample) const;
    // Waits until the lead and the look-ahead before the time of absolute sample `sample`.
    void WaitForSample(std::int64_t sample);
    // Waits until `deadline`, or until the server's stream is lost: the send thread keys seconds
    // ahead of the sound, and a lost server must end the transmission at once.
    void WaitWhileHeard(std::int64_t deadline);
    void RaiseAudioThread();
    // The audio callback's work: maps the buffer to the clock and renders it.
    void RenderBuffer(float* out, unsigned long frames, bool underrun);
    friend struct CSoundCardStream;

    bool portAudioReady = false;
    PaStream* stream = nullptr;
    std::unique_ptr<CPulseStream> server;
    // A server's stream went away, and no new one has been opened since.
    bool serverLost = false;
    std::atomic<bool> streamRunning{false};
    std::atomic<float> toneFrequency{450.0F};
    std::atomic<std::int64_t> streamLatencyNanoseconds{0};
    std::atomic<std::int64_t> leadNanoseconds{0};
    std::int64_t openedAt = 0;
    int reopenings = 0;
    double streamLatencyAsked = 0.0;
    std::int64_t lookAheadNanoseconds = 0;
    // How long before a word's last tone is heard its gap is decided.
    std::int64_t decisionAdvanceNanoseconds = 0;
    RealtimeGrant audioGrant = RealtimeGrant::Refused;
    bool audioGrantAsked = false;

    // Between BeginTransmission and EndTransmission, and whether the transmission began on a
    // stream with a known clock.
    bool transmitting = false;
    bool beganOnStream = false;
    // The send thread's segment: its first sample, while the stream's clock is known.
    bool onTimeline = false;
    std::int64_t segmentStartSample = 0;
    // The latest sample the transmission has reached on the timeline: a new segment never begins
    // before it, so that a pause or a step ends only after the gap in front of it.
    std::int64_t timelineEndSample = 0;
    // The end of the last tone queued.
    std::int64_t lastToneEndSample = 0;

    // Written by the callback, read by the send thread.
    std::atomic<std::int64_t> originNanoseconds{0};
    std::atomic<std::int64_t> requiredLeadNanoseconds{0};
    std::atomic<std::int64_t> lastCallbackNanoseconds{0};
    std::atomic<std::int64_t> steadyNanoseconds{0};
    std::atomic<bool> originKnown{false};
    std::atomic<std::uint64_t> underruns{0};
    // The audio thread's kernel id, read once by the first callback of a stream.
    std::atomic<pid_t> audioThreadId{0};

    // The conditions of the next transmission, and, built for it by BeginTransmission, the
    // receiver that renders them until its first segment hands it to the stream (send thread).
    ReceptionSettings conditionsSettings;
    std::uint64_t conditionsSeed = 0;
    std::unique_ptr<CReceptionConditions> preparedConditions;
    bool conditionsBegun = false;

    // Callback state; the producer's side belongs to the send thread.
    CStreamRenderer renderer;
    CClockMapping mapping{CToneRenderer::kSampleRate};
    std::int64_t framesRendered = 0;
};
