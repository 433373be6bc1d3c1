#include "output/CPulseStream.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "output/MonotonicClock.h"

namespace {

constexpr std::int64_t kRate = CPulseStream::kSampleRate;
constexpr std::size_t kFrameBytes = sizeof(float);
// The server holds up to this much written ahead of the sound: more than the program ever
// decides ahead.
constexpr std::int64_t kServerBufferSamples = 3 * kRate;
// Samples are rendered and written in blocks of at most this many.
constexpr std::size_t kBlockFrames = 2048;
// A cut cannot reach what the server has handed on to its output already: it begins two of the
// server's requests after the sample heard now, and fades out over an edge.
constexpr std::size_t kFadeSamples = 220;
// How long Cut waits for the thread at most.
constexpr std::int64_t kCutWaitNanoseconds = 200000000;
// The server is asked for a report on the stream this often.
constexpr std::int64_t kReportNanoseconds = 100000000;
// The server must answer the connection and the stream within this long.
constexpr std::int64_t kConnectNanoseconds = 2000000000;

std::int64_t SamplesIn(std::int64_t nanoseconds) {
    return nanoseconds * kRate / 1000000000;
}

}  // namespace

CPulseStream::CPulseStream(Source render, std::int64_t fillNanoseconds,
                           std::int64_t requestNanoseconds)
    : source(std::move(render)),
      requestSamples(std::max<std::int64_t>(1, SamplesIn(requestNanoseconds))),
      fill(fillNanoseconds),
      history(static_cast<std::size_t>(kServerBufferSamples), 0.0F),
      block(kBlockFrames, 0.0F) {}

std::unique_ptr<CPulseStream> CPulseStream::Open(const char* name, Source source, int priority,
                                                 std::int64_t fillNanoseconds,
                                                 std::int64_t requestNanoseconds) {
    std::unique_ptr<CPulseStream> created(
        new CPulseStream(std::move(source), fillNanoseconds, requestNanoseconds));
    CPulseStream* self = created.get();
    self->thread = std::thread([self, name, priority] { self->Run(name, priority); });
    // The thread tells by its state whether the stream runs, within the connection's bound.
    self->state.wait(0, std::memory_order_acquire);
    if (self->state.load(std::memory_order_acquire) != 1) {
        return nullptr;
    }
    return created;
}

CPulseStream::~CPulseStream() {
    stopping.store(true, std::memory_order_release);
    if (pa_mainloop* loop = wakeable.load(std::memory_order_acquire)) {
        pa_mainloop_wakeup(loop);
    }
    if (thread.joinable()) {
        thread.join();
    }
}

void CPulseStream::Decide(std::int64_t sample) {
    if (sample <= decided.load(std::memory_order_relaxed)) {
        return;
    }
    decided.store(sample, std::memory_order_release);
    if (pa_mainloop* loop = wakeable.load(std::memory_order_acquire)) {
        pa_mainloop_wakeup(loop);
    }
}

void CPulseStream::Cut() {
    cutFrom.store(-1, std::memory_order_release);
    cutAsked.store(true, std::memory_order_release);
    if (pa_mainloop* loop = wakeable.load(std::memory_order_acquire)) {
        pa_mainloop_wakeup(loop);
    }
    // Done before anything that follows is written, so that a sound played next is not cut: the
    // thread takes it at its next wake-up.
    const std::int64_t giveUp = MonotonicNanoseconds() + kCutWaitNanoseconds;
    while (cutAsked.load(std::memory_order_acquire) && !Lost() && MonotonicNanoseconds() < giveUp) {
        SleepUntilNanoseconds(MonotonicNanoseconds() + 200000);
    }
}

std::int64_t CPulseStream::HeardSample(std::int64_t now) const {
    return SamplesIn(now - origin.load(std::memory_order_acquire));
}

std::int64_t CPulseStream::FirstOpenSample() const {
    // The fill written from now on stays before this; a little further for the moments between
    // the caller's reading of the clock and its Decide.
    constexpr std::int64_t kMarginSamples = kRate / 200;
    return HeardSample(MonotonicNanoseconds()) + SamplesIn(fill.load(std::memory_order_relaxed)) +
           kMarginSamples;
}

bool CPulseStream::Connect(const char* name) {
    mainloop = pa_mainloop_new();
    if (mainloop == nullptr) {
        return false;
    }
    context = pa_context_new(pa_mainloop_get_api(mainloop), "Brumlo");
    if (context == nullptr ||
        pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return false;
    }
    const std::int64_t deadline = MonotonicNanoseconds() + kConnectNanoseconds;
    const auto waitFor = [&](auto ready) {
        while (MonotonicNanoseconds() < deadline) {
            const int result = ready();
            if (result != 0) {
                return result > 0;
            }
            pa_mainloop_prepare(mainloop, 10000);
            pa_mainloop_poll(mainloop);
            pa_mainloop_dispatch(mainloop);
        }
        return false;
    };
    const bool contextReady = waitFor([this] {
        const pa_context_state_t s = pa_context_get_state(context);
        return s == PA_CONTEXT_READY ? 1 : PA_CONTEXT_IS_GOOD(s) ? 0 : -1;
    });
    if (!contextReady) {
        return false;
    }
    const pa_sample_spec spec{PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(kRate), 1};
    stream = pa_stream_new(context, name, &spec, nullptr);
    if (stream == nullptr) {
        return false;
    }
    pa_stream_set_underflow_callback(
        stream,
        [](pa_stream*, void* self) {
            static_cast<CPulseStream*>(self)->underruns.fetch_add(1, std::memory_order_relaxed);
        },
        this);
    // A deep buffer that the server asks to fill in small steps, with its own output kept as
    // short as those steps (early requests); no prebuffering, so that the stream never stops.
    pa_buffer_attr attributes{};
    attributes.maxlength = static_cast<std::uint32_t>(kServerBufferSamples * kFrameBytes);
    attributes.tlength = attributes.maxlength;
    attributes.prebuf = 0;
    attributes.minreq = static_cast<std::uint32_t>(requestSamples * kFrameBytes);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags =
        static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_INTERPOLATE_TIMING |
                                       PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_EARLY_REQUESTS);
    if (pa_stream_connect_playback(stream, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        return false;
    }
    const bool streamReady = waitFor([this] {
        const pa_stream_state_t s = pa_stream_get_state(stream);
        return s == PA_STREAM_READY ? 1 : PA_STREAM_IS_GOOD(s) ? 0 : -1;
    });
    if (!streamReady) {
        return false;
    }
    // The fill first, then the stream runs.
    WriteAhead();
    startedAt = MonotonicNanoseconds();
    pa_operation* uncork = pa_stream_cork(stream, 0, nullptr, nullptr);
    if (uncork != nullptr) {
        pa_operation_unref(uncork);
    }
    pa_operation* update = pa_stream_update_timing_info(stream, nullptr, nullptr);
    if (update != nullptr) {
        pa_operation_unref(update);
    }
    return true;
}

void CPulseStream::Disconnect() {
    wakeable.store(nullptr, std::memory_order_release);
    if (stream != nullptr) {
        pa_stream_disconnect(stream);
        pa_stream_unref(stream);
        stream = nullptr;
    }
    if (context != nullptr) {
        pa_context_disconnect(context);
        pa_context_unref(context);
        context = nullptr;
    }
    if (mainloop != nullptr) {
        pa_mainloop_free(mainloop);
        mainloop = nullptr;
    }
}

void CPulseStream::Run(const char* name, int priority) {
    threadId.store(CurrentThreadId(), std::memory_order_release);
    grant.store(MakeThreadRealtime(CurrentThreadId(), priority), std::memory_order_release);
    if (!Connect(name)) {
        Disconnect();
        state.store(-1, std::memory_order_release);
        state.notify_all();
        return;
    }
    wakeable.store(mainloop, std::memory_order_release);
    state.store(1, std::memory_order_release);
    state.notify_all();
    while (!stopping.load(std::memory_order_acquire)) {
        std::int64_t sleep = 20000000;
        if (!lost.load(std::memory_order_relaxed)) {
            if (pa_context_get_state(context) != PA_CONTEXT_READY ||
                pa_stream_get_state(stream) != PA_STREAM_READY) {
                lost.store(true, std::memory_order_release);
            } else {
                ObserveClock();
                if (cutAsked.load(std::memory_order_acquire)) {
                    WriteCut();
                    cutAsked.store(false, std::memory_order_release);
                }
                sleep = WriteAhead();
            }
        }
        pa_mainloop_prepare(mainloop,
                            static_cast<int>(std::clamp<std::int64_t>(sleep / 1000, 1000, 20000)));
        pa_mainloop_poll(mainloop);
        pa_mainloop_dispatch(mainloop);
    }
    Disconnect();
}

void CPulseStream::ObserveClock() {
    const std::int64_t now = MonotonicNanoseconds();
    // The server's clock drifts against the system's (by up to a millisecond a second): its
    // reports are asked for often.
    if (now - lastReportAsked >= kReportNanoseconds) {
        lastReportAsked = now;
        if (pa_operation* update = pa_stream_update_timing_info(stream, nullptr, nullptr)) {
            pa_operation_unref(update);
        }
    }
    // The server's own report: at its moment `timestamp` it had read `read_index` bytes of the
    // stream, which its output plays `sink_usec` later. Stamped by the server, it does not depend
    // on when this thread gets to read it, however busy the machine.
    const pa_timing_info* info = pa_stream_get_timing_info(stream);
    if (info == nullptr || info->read_index_corrupt || info->read_index <= 0 ||
        !info->synchronized_clocks ||
        (info->timestamp.tv_sec == lastReport.tv_sec &&
         info->timestamp.tv_usec == lastReport.tv_usec)) {
        return;
    }
    lastReport = info->timestamp;
    timespec wall{};
    timespec monotonic{};
    clock_gettime(CLOCK_REALTIME, &wall);
    clock_gettime(CLOCK_MONOTONIC, &monotonic);
    const std::int64_t wallToMonotonic =
        (monotonic.tv_sec - wall.tv_sec) * 1000000000LL + (monotonic.tv_nsec - wall.tv_nsec);
    const std::int64_t heardAt = static_cast<std::int64_t>(info->timestamp.tv_sec) * 1000000000LL +
                                 static_cast<std::int64_t>(info->timestamp.tv_usec) * 1000 +
                                 wallToMonotonic +
                                 static_cast<std::int64_t>(info->sink_usec) * 1000;
    clock.Observe(heardAt, info->read_index / static_cast<std::int64_t>(kFrameBytes), 0, false);
    origin.store(clock.OriginNanoseconds(), std::memory_order_release);
    mapped.store(true, std::memory_order_release);
}

std::int64_t CPulseStream::WriteAhead() {
    const std::int64_t fillSamples = SamplesIn(fill.load(std::memory_order_relaxed));
    // Until the server's first report, the stream is taken to play from the moment it started.
    const std::int64_t now = MonotonicNanoseconds();
    const std::int64_t heard = mapped.load(std::memory_order_relaxed) ? HeardSample(now)
                               : startedAt != 0                       ? SamplesIn(now - startedAt)
                                                                      : 0;
    std::int64_t target = std::max(decided.load(std::memory_order_acquire), heard + fillSamples);
    const std::size_t writable = pa_stream_writable_size(stream);
    if (writable != static_cast<std::size_t>(-1)) {
        target = std::min(target, written + static_cast<std::int64_t>(writable / kFrameBytes));
    }
    while (written < target) {
        const auto frames =
            static_cast<std::size_t>(std::min<std::int64_t>(target - written, kBlockFrames));
        source(block.data(), frames, written);
        Write(written, frames, false);
        written += static_cast<std::int64_t>(frames);
    }
    // Awake again when a third of the fill has been heard: the server's own output takes up to
    // two of its requests of the rest.
    const std::int64_t ahead = written - heard - fillSamples * 2 / 3;
    return std::max<std::int64_t>(ahead, 0) * 1000000000 / kRate;
}

void CPulseStream::Write(std::int64_t sample, std::size_t frames, bool absolute) {
    for (std::size_t k = 0; k < frames; ++k) {
        history[static_cast<std::size_t>(sample + static_cast<std::int64_t>(k)) % history.size()] =
            block[k];
    }
    pa_stream_write(stream, block.data(), frames * kFrameBytes, nullptr,
                    absolute ? sample * static_cast<std::int64_t>(kFrameBytes) : 0,
                    absolute ? PA_SEEK_ABSOLUTE : PA_SEEK_RELATIVE);
}

void CPulseStream::WriteCut() {
    const std::int64_t from = HeardSample(MonotonicNanoseconds()) + 2 * requestSamples;
    if (!mapped.load(std::memory_order_relaxed) || from >= written) {
        cutFrom.store(std::min(from, written), std::memory_order_release);
        return;
    }
    // Rewritten in place: the fade from what was there, then silence up to the end written.
    std::int64_t sample = from;
    while (sample < written) {
        const auto frames =
            static_cast<std::size_t>(std::min<std::int64_t>(written - sample, kBlockFrames));
        for (std::size_t k = 0; k < frames; ++k) {
            const auto n = static_cast<std::size_t>(sample - from) + k;
            const float before =
                history[static_cast<std::size_t>(sample + static_cast<std::int64_t>(k)) %
                        history.size()];
            block[k] = n < kFadeSamples ? before * (1.0F - static_cast<float>(n + 1) /
                                                               static_cast<float>(kFadeSamples + 1))
                                        : 0.0F;
        }
        Write(sample, frames, true);
        sample += static_cast<std::int64_t>(frames);
    }
    cutFrom.store(from, std::memory_order_release);
}
