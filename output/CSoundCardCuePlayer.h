#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <cstdint>
#include <vector>

#include "core/CCuePlayer.h"
#include "output/CCueQueue.h"
#include "output/CPulseStream.h"

using PaStream = void;

// The cue player on the sound card: an output stream of its own (mono, 44.1 kHz), opened by Open
// and kept running, silent between sounds. Where the desktop has a sound server the stream is the
// server's own (CPulseStream): a sound is written into the server's buffer whole as soon as it is
// played, and the stream's clock tells when its end is heard. Without a server it is a PortAudio
// stream on the default device with a short buffer, whose callback side of the CCueQueue maps the
// stream's samples to the monotonic clock, so that HeardEndNanoseconds includes the stream's
// latency. Open, Play, Silence and HeardEndNanoseconds on the user-interface thread; the stream's
// callback or thread renders.
class CSoundCardCuePlayer : public CCuePlayer {
public:
    CSoundCardCuePlayer();
    ~CSoundCardCuePlayer() override;
    CSoundCardCuePlayer(const CSoundCardCuePlayer&) = delete;
    CSoundCardCuePlayer& operator=(const CSoundCardCuePlayer&) = delete;

    bool Open() override;
    bool Play(const std::vector<float>& samples) override;
    void Silence() override;
    std::int64_t HeardEndNanoseconds() const override;

    // The stream's latency from rendering a sample to hearing it, as the device reports it.
    std::chrono::nanoseconds StreamLatency() const {
        return std::chrono::nanoseconds(latencyNanoseconds);
    }
    // Buffers the stream reported as played too late.
    std::uint64_t Underruns() const { return underruns.load(std::memory_order_relaxed); }

private:
    void Close();
    bool OpenOnServer();
    friend struct CCueStream;

    std::unique_ptr<CPulseStream> server;
    // Silence cut the last sound short, and nothing was played since.
    bool cut = false;
    bool portAudioReady = false;
    PaStream* stream = nullptr;
    std::int64_t latencyNanoseconds = 0;
    std::atomic<std::uint64_t> underruns{0};
    CCueQueue queue{kSampleRate};
};
