#pragma once

#include <sys/time.h>
#include <sys/types.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "output/CClockMapping.h"
#include "output/RealtimeScheduling.h"

struct pa_context;
struct pa_mainloop;
struct pa_stream;

// A playback stream on the desktop's sound server through the server's own client library
// (PulseAudio's protocol, which PipeWire serves too). A thread of the stream's own renders samples
// from a source and writes them into the server's buffer as soon as they are decided, seconds
// ahead of the sound if they are: what is written is held by the server, and no thread of the
// program has to wake in time for it to be heard. Samples not decided yet are written as they come
// due, a fill ahead of the sound, so that the stream never runs dry.
// Samples are numbered from the stream's start, and sample n is heard at
// OriginNanoseconds() + n / rate on the monotonic clock. The stream never stops: should the server
// find a sample missing, it plays silence and skips the sample when it comes, so that the numbering
// and the clock stay together.
// Threads: the source runs on the stream's thread; the other calls come from any one thread.
class CPulseStream {
public:
    static constexpr int kSampleRate = 44100;
    // Fills `frames` samples that begin at sample `firstSample`, in order, each sample once (but
    // for what Cut drops).
    using Source = std::function<void(float* out, std::size_t frames, std::int64_t firstSample)>;

    // Connects to the server and starts the stream; null when no server answers. `name` is what
    // the server shows for the stream. The stream's thread asks for real-time scheduling at
    // `priority` first; samples not yet decided are written `fillNanoseconds` ahead of the sound.
    // The server asks for data in steps of `requestNanoseconds` and keeps its own output about as
    // short (early requests), so that a sample written a fill ahead of the sound is in time.
    static constexpr std::int64_t kDefaultRequestNanoseconds = 10000000;
    static std::unique_ptr<CPulseStream> Open(
        const char* name, Source source, int priority, std::int64_t fillNanoseconds,
        std::int64_t requestNanoseconds = kDefaultRequestNanoseconds);
    // A fill that outlasts the whole machine held still for a tenth of a second, as a virtual
    // machine's host does under load (real time or not): a sound decided now is heard this much
    // later, and nothing of it is lost to such a stall.
    static constexpr std::int64_t kStallProofFillNanoseconds = 150000000;
    ~CPulseStream();
    CPulseStream(const CPulseStream&) = delete;
    CPulseStream& operator=(const CPulseStream&) = delete;

    // The samples before `sample` are decided: they are written at once.
    void Decide(std::int64_t sample);
    // What has been written and is not heard yet falls silent from the earliest sample the server
    // can still change, fading out over an edge; the source is asked again from the end of what was
    // written. Returns once the stream's thread has done it (within a wake-up of the thread), so
    // that nothing decided after it is cut.
    void Cut();
    void SetFill(std::int64_t nanoseconds) { fill.store(nanoseconds, std::memory_order_relaxed); }
    // Whether the stream's thread runs with real-time scheduling, and who granted it.
    RealtimeGrant Grant() const { return grant.load(std::memory_order_acquire); }
    // How far ahead of the sound undecided samples are written now.
    std::int64_t FillNanoseconds() const { return fill.load(std::memory_order_relaxed); }

    // Whether the clock is known yet, and the moment sample 0 is heard.
    bool Mapped() const { return mapped.load(std::memory_order_acquire); }
    std::int64_t OriginNanoseconds() const { return origin.load(std::memory_order_acquire); }
    // The first sample a Decide can still place: every sample before it has been written, or is
    // due to be written as fill, before a producer that asks now could be heard.
    std::int64_t FirstOpenSample() const;
    // The sample Cut silenced from, or -1 before any cut.
    std::int64_t CutSample() const { return cutFrom.load(std::memory_order_acquire); }
    // The server has gone away, or refused the stream.
    bool Lost() const { return lost.load(std::memory_order_acquire); }
    // The times the server found the stream empty.
    std::uint64_t Underruns() const { return underruns.load(std::memory_order_relaxed); }
    // The kernel's id of the stream's thread, for its real-time scheduling.
    pid_t ThreadId() const { return threadId.load(std::memory_order_acquire); }

private:
    CPulseStream(Source render, std::int64_t fillNanoseconds, std::int64_t requestNanoseconds);
    void Run(const char* name, int priority);
    bool Connect(const char* name);
    void Disconnect();
    // Writes what is decided and what the fill asks for; returns the nanoseconds until the fill
    // asks again.
    std::int64_t WriteAhead();
    void WriteCut();
    void Write(std::int64_t sample, std::size_t frames, bool absolute);
    void ObserveClock();
    std::int64_t HeardSample(std::int64_t now) const;

    Source source;
    std::int64_t requestSamples;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::atomic<int> state{0};  // 0 connecting, 1 running, -1 failed
    std::atomic<bool> lost{false};
    std::atomic<bool> mapped{false};
    std::atomic<std::int64_t> origin{0};
    std::atomic<std::int64_t> fill;
    std::atomic<std::int64_t> decided{0};
    std::atomic<bool> cutAsked{false};
    std::atomic<std::int64_t> cutFrom{-1};
    std::atomic<std::uint64_t> underruns{0};
    std::atomic<pid_t> threadId{0};
    std::atomic<RealtimeGrant> grant{RealtimeGrant::Refused};
    std::atomic<pa_mainloop*> wakeable{nullptr};

    // The stream thread's own.
    pa_mainloop* mainloop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    std::int64_t written = 0;
    CClockMapping clock{kSampleRate};
    std::int64_t lastReportAsked = 0;
    std::int64_t startedAt = 0;
    timeval lastReport{};
    // What was written, by sample modulo its size, so that a cut can fade out from it.
    std::vector<float> history;
    std::vector<float> block;
};
