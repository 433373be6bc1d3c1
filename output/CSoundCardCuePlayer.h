#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

#include "output/CCuePlayer.h"
#include "output/CCueQueue.h"

using PaStream = void;

// The cue player on the sound card: a PortAudio output stream of its own on the default device
// (mono, 44.1 kHz, a short buffer), opened by Open and kept
// running, silent between sounds. Sounds go through a CCueQueue, whose callback side maps the
// stream's samples to the monotonic clock, so that HeardEndNanoseconds includes the stream's
// latency. Open, Play, Silence and HeardEndNanoseconds on the user-interface thread; the stream's
// callback on the audio thread.
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
    friend struct CCueStream;

    bool portAudioReady = false;
    PaStream* stream = nullptr;
    std::int64_t latencyNanoseconds = 0;
    std::atomic<std::uint64_t> underruns{0};
    CCueQueue queue{kSampleRate};
};
