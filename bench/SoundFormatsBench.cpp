// A half-hour course as a sound file in every format: how long rendering and encoding take, and
// how many bytes a minute of it needs.
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "engine/SoundFile.h"
#include "engine/SoundFileFormats.h"
#include "output/CToneRenderer.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Processor time of this process, which a busy machine does not inflate as it does the clock.
double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

}  // namespace

// Arguments: the formats to encode ("WAV", "FLAC", "Vorbis", "Opus", "MP3"); all by default.
int main(int argc, char** argv) {
    // Groups of five at 100/60 until the text lasts half an hour.
    std::string text;
    CTransmissionTimeline* timeline = nullptr;
    CMorseText morse;
    for (unsigned seed = 1;; ++seed) {
        text += CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", kMixedText, seed);
        morse.SetText(text);
        morse.SetKind(kMixedText);
        delete timeline;
        timeline = new CTransmissionTimeline(morse, 100, 60, 3.0);
        if (timeline->EndUnits() >= 30LL * 60 * 10000000) {
            break;
        }
    }
    const double minutes = static_cast<double>(timeline->EndUnits()) / 1e7 / 60.0;
    auto start = std::chrono::steady_clock::now();
    double processor = ProcessorSeconds();
    const std::string wav = soundfile::RenderWav(*timeline, 600, 1.0F);
    const double rendering = SecondsSince(start);
    const double renderingProcessor = ProcessorSeconds() - processor;
    delete timeline;
    std::printf("%zu characters, %.1f minutes of sound, rendered in %.2f s (%.2f s of processor)\n",
                text.size(), minutes, rendering, renderingProcessor);
    const auto samples = soundfile::SamplesOfWav(wav);
    const struct {
        const char* name;
        soundfile::Format format;
    } formats[] = {{"WAV", soundfile::Format::Wav},
                   {"FLAC", soundfile::Format::Flac},
                   {"Ogg Vorbis", soundfile::Format::Vorbis},
                   {"Ogg Opus", soundfile::Format::Opus},
                   {"MP3", soundfile::Format::Mp3}};
    for (const auto& f : formats) {
        bool chosen = argc < 2;
        for (int i = 1; i < argc; ++i) {
            chosen = chosen || std::string(f.name).find(argv[i]) != std::string::npos;
        }
        if (!chosen) {
            continue;
        }
        start = std::chrono::steady_clock::now();
        processor = ProcessorSeconds();
        std::string error;
        const auto bytes = soundfile::Encode(samples, CToneRenderer::kSampleRate, f.format, &error);
        const double encoding = SecondsSince(start);
        const double encodingProcessor = ProcessorSeconds() - processor;
        if (!bytes) {
            std::printf("%-11s failed: %s\n", f.name, error.c_str());
            continue;
        }
        std::printf(
            "%-11s rendered and encoded in %6.2f s (%6.2f s of processor)%s, %7.1f kB per "
            "minute\n",
            f.name, rendering + encoding, renderingProcessor + encodingProcessor,
            f.format == soundfile::Format::Mp3 ? " (goal: under 10 s)" : "",
            static_cast<double>(bytes->size()) / 1024.0 / minutes);
    }
    return 0;
}
