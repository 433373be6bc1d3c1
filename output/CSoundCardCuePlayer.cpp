#include "output/CSoundCardCuePlayer.h"

#include <portaudio.h>

#include <algorithm>

#include "output/MonotonicClock.h"
#include "output/QuietSoundProbing.h"

namespace {

// The latency asked for: a sound to recognise is heard at once after it is queued. The moment
// it is heard is mapped from the stream's clock and the latency the device reports; with a short
// buffer that report is close to the truth (within a few milliseconds on a sound server), while a
// deeper one makes the heard end come out some 5 to 13 ms late.
constexpr double kLatencySeconds = 0.02;
// On a sound server: how far ahead of the sound its silence is written, and so how soon after
// Play a sound begins. The reaction is timed from the moment the sound ends, so the delay does
// not change it.
constexpr std::int64_t kServerFillNanoseconds = CPulseStream::kStallProofFillNanoseconds;
// The stream thread's real-time priority, that of the sound card's.
constexpr int kStreamPriority = 10;

}  // namespace

// Connects the C callback of PortAudio to the player's queue.
struct CCueStream {
    static int Callback(const void*, void* output, unsigned long frames,
                        const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags statusFlags,
                        void* userData) {
        auto* player = static_cast<CSoundCardCuePlayer*>(userData);
        const bool underrun = (statusFlags & paOutputUnderflow) != 0;
        if (underrun) {
            player->underruns.fetch_add(1, std::memory_order_relaxed);
        }
        player->queue.Render(static_cast<float*>(output), frames, MonotonicNanoseconds(), underrun);
        return paContinue;
    }
};

CSoundCardCuePlayer::CSoundCardCuePlayer() = default;

CSoundCardCuePlayer::~CSoundCardCuePlayer() {
    server.reset();
    Close();
    if (portAudioReady) {
        Pa_Terminate();
    }
}

bool CSoundCardCuePlayer::OpenOnServer() {
    queue.Restart();
    server = CPulseStream::Open(
        "Brumlo cues",
        [this](float* out, std::size_t frames, std::int64_t firstSample) {
            queue.Take(out, frames, firstSample);
        },
        kStreamPriority, kServerFillNanoseconds);
    latencyNanoseconds = 0;
    return server != nullptr;
}

bool CSoundCardCuePlayer::Open() {
    if (server != nullptr || stream != nullptr) {
        return true;
    }
    if (!portAudioReady && OpenOnServer()) {
        return true;
    }
    if (!portAudioReady) {
        QuietSoundProbing();
        portAudioReady = Pa_Initialize() == paNoError;
        if (!portAudioReady) {
            return false;
        }
    }
    PaStreamParameters parameters{};
    parameters.device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* deviceInfo = Pa_GetDeviceInfo(parameters.device);
    if (deviceInfo == nullptr) {
        return false;
    }
    parameters.channelCount = 1;
    parameters.sampleFormat = paFloat32;
    parameters.suggestedLatency = std::max(kLatencySeconds, deviceInfo->defaultLowOutputLatency);
    // No callback runs yet: the queue starts over for the new stream.
    queue.Restart();
    PaStream* newStream = nullptr;
    if (Pa_OpenStream(&newStream, nullptr, &parameters, kSampleRate, paFramesPerBufferUnspecified,
                      paNoFlag, &CCueStream::Callback, this) != paNoError) {
        return false;
    }
    stream = newStream;
    if (const PaStreamInfo* info = Pa_GetStreamInfo(stream)) {
        latencyNanoseconds = static_cast<std::int64_t>(info->outputLatency * 1e9);
    }
    if (Pa_StartStream(stream) != paNoError) {
        Close();
        return false;
    }
    return true;
}

void CSoundCardCuePlayer::Close() {
    if (stream != nullptr) {
        Pa_AbortStream(stream);
        Pa_CloseStream(stream);
        stream = nullptr;
    }
}

bool CSoundCardCuePlayer::Play(const std::vector<float>& samples) {
    if (server != nullptr) {
        if (server->Lost()) {
            // The sound server went away since the stream was opened: a new stream, once.
            server.reset();
            if (!OpenOnServer()) {
                return false;
            }
        }
        if (!queue.Push(samples.data(), samples.size())) {
            return false;
        }
        // The whole sound is decided: into the server's buffer at once.
        cut = false;
        server->Decide(server->FirstOpenSample() + static_cast<std::int64_t>(samples.size()));
        return true;
    }
    if (stream != nullptr && Pa_IsStreamActive(stream) != 1) {
        // The sound server went away since the stream was opened: a new stream, once.
        Close();
        Open();
    }
    return stream != nullptr && queue.Push(samples.data(), samples.size());
}

void CSoundCardCuePlayer::Silence() {
    queue.Drop();
    if (server != nullptr) {
        // What the server holds already falls silent as well.
        cut = true;
        server->Cut();
    }
}

std::int64_t CSoundCardCuePlayer::HeardEndNanoseconds() const {
    if (server != nullptr) {
        std::int64_t end = queue.EndSample();
        if (cut) {
            const std::int64_t cutFrom = server->CutSample();
            if (cutFrom < 0) {
                return 0;
            }
            end = std::min(end, cutFrom);
        }
        if (end < 0 || !server->Mapped()) {
            return 0;
        }
        return server->OriginNanoseconds() +
               end * 1000000000 / static_cast<std::int64_t>(kSampleRate);
    }
    return stream == nullptr ? 0 : queue.HeardEndNanoseconds(latencyNanoseconds);
}
