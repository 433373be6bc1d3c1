// The reception conditions: what rendering them costs the audio thread with everything on at its
// highest, how close the noise heard in the passband comes to the asked signal-to-noise ratio,
// and how long 300 characters take to render to a sound file with everything on. Prints figures;
// asserts nothing. Plays no sound.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
// After <complex>, so that liquid takes its complex type.
#include <liquid/liquid.h>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/EverythingOn.h"
#include "bench/Statistics.h"
#include "core/CFist.h"
#include "core/CSeededRandom.h"
#include "core/ReceptionSettings.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "output/CReceptionConditions.h"
#include "output/CSoundCardOutput.h"
#include "output/CStreamRenderer.h"
#include "output/LiquidFilters.h"
#include "tests/support/PassbandSnr.h"
#include "text/CMorseText.h"

namespace {

constexpr double kRate = 44100.0;
constexpr double kTwoPi = 6.283185307179586;
constexpr int kTone = 600;
constexpr std::size_t kCallbackFrames = 512;

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The clean keyed signal of a timeline and its keying envelope, with raised-cosine edges of 5 ms
// centred on the nominal edges, as the sound card keys it.
struct Keyed {
    std::vector<float> samples;
    std::vector<float> envelope;
};

Keyed KeyTimeline(const CTransmissionTimeline& timeline, float amplitude) {
    constexpr std::int64_t kRamp = 220;
    const auto toSamples = [](std::int64_t units) {
        return static_cast<std::int64_t>(std::llround(static_cast<double>(units) * kRate / 1e7));
    };
    Keyed keyed;
    const auto frames = static_cast<std::size_t>(toSamples(timeline.EndUnits()) + kRamp);
    keyed.envelope.assign(frames, 0.0F);
    for (const auto& tone : timeline.Tones()) {
        const std::int64_t start = toSamples(tone.startUnits);
        const std::int64_t end = start + toSamples(tone.lengthUnits);
        for (std::int64_t n = std::max<std::int64_t>(0, start - kRamp / 2);
             n < std::min<std::int64_t>(static_cast<std::int64_t>(frames), end + kRamp / 2); ++n) {
            const double rise =
                std::clamp(static_cast<double>(n - (start - kRamp / 2)) / kRamp, 0.0, 1.0);
            const double fall =
                std::clamp(static_cast<double>((end + kRamp / 2) - n) / kRamp, 0.0, 1.0);
            const double edge = std::min(rise, fall);
            keyed.envelope[static_cast<std::size_t>(n)] =
                static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi / 2.0 * edge));
        }
    }
    keyed.samples.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        keyed.samples[i] =
            amplitude * keyed.envelope[i] *
            static_cast<float>(std::sin(kTwoPi * kTone * static_cast<double>(i) / kRate));
    }
    return keyed;
}

CTransmissionTimeline Timeline300(FistKind fist, std::uint64_t seed) {
    CMorseText text;
    text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 7));
    text.SetKind(kLetterText);
    return CTransmissionTimeline(text, 100, 100, 3.0,
                                 CFist(fist, CSeededRandom::Derive(seed, SeedStream::kWantedFist)));
}

void CpuShare() {
    const ReceptionSettings settings = EverythingAtItsHighest();
    const Keyed keyed = KeyTimeline(Timeline300(settings.fist, 11), 0.5F);
    CReceptionConditions conditions(settings, 11, kTone, 0.5F);
    std::vector<float> block(kCallbackFrames);
    std::vector<double> blockMicroseconds;
    const double cpuStart = ThreadSeconds();
    for (std::size_t at = 0; at + kCallbackFrames <= keyed.samples.size(); at += kCallbackFrames) {
        std::copy_n(keyed.samples.begin() + static_cast<long>(at), kCallbackFrames, block.begin());
        const auto start = std::chrono::steady_clock::now();
        conditions.Render(block.data(), keyed.envelope.data() + at, kCallbackFrames);
        blockMicroseconds.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    const double cpu = ThreadSeconds() - cpuStart;
    const double sound = static_cast<double>(blockMicroseconds.size() * kCallbackFrames) / kRate;
    std::printf(
        "== CPU share, everything on at its highest (SNR -10 dB in 250 Hz, fading 100 %% "
        "every 1 s, %d crashes a minute, %d stations, chirp %d Hz, clicks)\n",
        settings.staticPerMinute, settings.stations, settings.chirpHz);
    std::printf("rendered %.1f s of sound in %.3f s of CPU: %.2f %% of a core (goal < 5 %%)\n",
                sound, cpu, 100.0 * cpu / sound);
    PrintSummary("callback of 512 frames (11.6 ms of sound)", Summarize(blockMicroseconds), "us");
}

// The sound card's own callback path: the stream renderer keys the tones of the timeline and hands
// them with their envelope through the conditions, in callbacks of 512 frames.
void CallbackPathCpuShare() {
    const ReceptionSettings settings = EverythingAtItsHighest();
    const CTransmissionTimeline timeline = Timeline300(settings.fist, 12);
    CStreamRenderer stream;
    stream.SetGain(0.5F);
    const std::int64_t origin = 0;
    const std::int64_t segment = origin + CStreamRenderer::kLeadInSamples;
    stream.BeginConditions(std::make_unique<CReceptionConditions>(settings, 12, kTone, 0.5F),
                           origin);
    const std::int64_t end = segment + CSoundCardOutput::SamplesFor(timeline.EndUnits());
    stream.EndConditions(end + CStreamRenderer::kTailSamples);
    std::vector<float> block(kCallbackFrames);
    std::vector<double> blockMicroseconds;
    std::size_t next = 0;
    const auto& tones = timeline.Tones();
    double cpu = 0.0;
    for (std::int64_t first = 0; first + static_cast<std::int64_t>(kCallbackFrames) <= end;
         first += static_cast<std::int64_t>(kCallbackFrames)) {
        // Queued a look-ahead in front, as the send thread keys them (outside the measurement).
        while (next < tones.size() &&
               segment + CSoundCardOutput::SamplesFor(tones[next].startUnits) < first + 13230) {
            const std::int64_t start =
                segment + CSoundCardOutput::SamplesFor(tones[next].startUnits);
            const std::int64_t stop =
                segment +
                CSoundCardOutput::SamplesFor(tones[next].startUnits + tones[next].lengthUnits);
            if (!stream.Push({start, stop - start, static_cast<float>(kTone)})) {
                break;
            }
            ++next;
        }
        const double cpuStart = ThreadSeconds();
        const auto start = std::chrono::steady_clock::now();
        stream.Render(block.data(), kCallbackFrames, first);
        blockMicroseconds.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        cpu += ThreadSeconds() - cpuStart;
    }
    const double sound = static_cast<double>(blockMicroseconds.size() * kCallbackFrames) / kRate;
    std::printf(
        "== CPU share of the audio callback's own path (tones, envelope and conditions), "
        "everything on at its highest\n");
    std::printf("rendered %.1f s of sound in %.3f s of CPU: %.2f %% of a core (goal < 5 %%)\n",
                sound, cpu, 100.0 * cpu / sound);
    PrintSummary("callback of 512 frames (11.6 ms of sound)", Summarize(blockMicroseconds), "us");
}

void SnrAccuracy() {
    std::printf("== SNR measured in the passband against the asked one (goal: within 1 dB)\n");
    std::printf("%8s %8s %10s %8s\n", "asked", "filter", "measured", "error");
    double worst = 0.0;
    const std::size_t settle = 22050;
    const std::size_t frames = settle + (1U << 20);
    std::vector<float> steady(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        steady[i] =
            0.25F * static_cast<float>(std::sin(kTwoPi * kTone * static_cast<double>(i) / kRate));
    }
    for (const int filterHz : {250, 500, 2400}) {
        for (int snr = ReceptionSettings::kLowestSnrDb; snr <= ReceptionSettings::kHighestSnrDb;
             snr += 5) {
            ReceptionSettings settings;
            settings.noise = true;
            settings.snrDb = snr;
            settings.filterHz = filterHz;
            const std::uint64_t seed = 1000 + static_cast<std::uint64_t>(snr + 10);
            CReceptionConditions withTone(settings, seed, kTone, 0.25F);
            CReceptionConditions silence(settings, seed, kTone, 0.25F);
            std::vector<float> heard = steady;
            std::vector<float> noise(frames, 0.0F);
            withTone.Render(heard.data(), nullptr, frames);
            silence.Render(noise.data(), nullptr, frames);
            heard.erase(heard.begin(), heard.begin() + static_cast<long>(settle));
            noise.erase(noise.begin(), noise.begin() + static_cast<long>(settle));
            const double flat = std::min(filterHz / 5.0, kTone / 2.0);
            const double measured = MeasurePassbandSnrDb(heard, noise, kTone, kRate, flat);
            worst = std::max(worst, std::fabs(measured - snr));
            std::printf("%5d dB %5d Hz %7.2f dB %+6.2f dB\n", snr, filterHz, measured,
                        measured - snr);
        }
    }
    std::printf("largest error %.2f dB over 24 s of sound each\n", worst);
}

void ThreeHundredCharacters() {
    const ReceptionSettings settings = EverythingAtItsHighest();
    std::vector<double> seconds;
    double sound = 0.0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const CTransmissionTimeline timeline = Timeline300(settings.fist, 100 + run);
        Keyed keyed = KeyTimeline(timeline, 0.5F);
        CReceptionConditions conditions(settings, 100 + run, kTone, 0.5F);
        conditions.Render(keyed.samples.data(), keyed.envelope.data(), keyed.samples.size());
        std::vector<std::int16_t> pcm(keyed.samples.size());
        for (std::size_t i = 0; i < pcm.size(); ++i) {
            pcm[i] = static_cast<std::int16_t>(std::lround(keyed.samples[i] * 32767.0F));
        }
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        sound = static_cast<double>(pcm.size()) / kRate;
    }
    std::printf(
        "== 300 characters at 100 a minute with everything on, to 16-bit samples "
        "(goal < 2 s)\n");
    std::printf("sound %.1f s long\n", sound);
    PrintSummary("render time", Summarize(seconds), "s");

    // The program's own path: the timeline of the fist and the WAV file of the stream renderer.
    std::vector<double> fileSeconds;
    std::size_t bytes = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        const CTransmissionTimeline timeline = Timeline300(settings.fist, 200 + run);
        bytes = soundfile::RenderWav(timeline, kTone, 1.0F, settings, 200 + run).size();
        fileSeconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::printf("== the same saved as a sound file by the program's own path (goal < 2 s)\n");
    std::printf("file of %zu bytes\n", bytes);
    PrintSummary("render time", Summarize(fileSeconds), "s");
}

// The receiver filter's half-power points at every tone of the list and every width offered: how
// far the middle of the two lies from the tone, in hertz and as a share of the width.
void FilterSymmetry() {
    std::printf(
        "== receiver filter: half-power points around the tone (goal: symmetric within 5 %% "
        "of the width)\n");
    for (const double width : {250.0, 500.0, 1000.0, 2400.0}) {
        double worst = 0.0;
        double worstTone = 0.0;
        int unreachable = 0;
        for (const int tone : kToneFrequencies) {
            RealFilter filter = MakeReceiverFilter(tone, width, kRate);
            const auto gain = [&](double hz) {
                std::complex<float> response;
                iirfilt_rrrf_freqresponse(filter.get(), static_cast<float>(hz / kRate), &response);
                return std::abs(response);
            };
            double lowest = 0.0;
            double highest = 0.0;
            for (double hz = 1.0; hz < 8000.0; hz += 0.25) {
                if (gain(hz) >= std::sqrt(0.5)) {
                    lowest = lowest == 0.0 ? hz : lowest;
                    highest = hz;
                }
            }
            // A band wider than twice the tone cannot reach below 0 Hz.
            if (tone - width / 2.0 < 30.0) {
                ++unreachable;
                continue;
            }
            const double offset = std::abs((lowest + highest) / 2.0 - tone);
            if (offset >= worst) {
                worst = offset;
                worstTone = tone;
            }
        }
        if (unreachable == static_cast<int>(kToneFrequencies.size())) {
            std::printf("%6.0f Hz: wider than twice every tone; the lower edge stays at 30 Hz\n",
                        width);
            continue;
        }
        std::printf(
            "%6.0f Hz: middle of the half-power points at most %.1f Hz (%.2f %% of the "
            "width) from the tone, at %.0f Hz%s\n",
            width, worst, 100.0 * worst / width, worstTone,
            unreachable > 0 ? "; tones below half the width keep the lower edge at 30 Hz" : "");
    }
}

// Each fist's intervals over 20000 characters of "A" and words of one character at 100/100, in
// dots: mean and spread of each kind, and the silences between characters and between words as a
// listener hears them (the element gap with the interval after it).
void FistFigures() {
    std::printf(
        "== fists at equal speeds, in dots: mean (spread) of each kind (goal: words 5 to 6 "
        "dots; characters run together, under 2 dots, rarely)\n");
    constexpr double kDot = 600000.0;
    const struct {
        const char* name;
        FistKind kind;
    } fists[] = {{"good hand", FistKind::kGoodHand},
                 {"straight key", FistKind::kStraightKey},
                 {"bug", FistKind::kBug}};
    for (const auto& [name, kind] : fists) {
        CFist fist(kind, 2026);
        std::vector<double> dots, dashes, elementGaps, characters, words;
        int runTogether = 0;
        for (int i = 0; i < 20000; ++i) {
            dots.push_back(fist.Shape(KeyInterval::kDot, kDot, kDot) / kDot);
            elementGaps.push_back(fist.Shape(KeyInterval::kElementGap, kDot, kDot) / kDot);
            dashes.push_back(fist.Shape(KeyInterval::kDash, 3 * kDot, kDot) / kDot);
            const double gap = fist.Shape(KeyInterval::kElementGap, kDot, kDot) / kDot;
            const double character =
                gap + fist.Shape(KeyInterval::kCharacterGap, 2 * kDot, kDot) / kDot;
            runTogether += character < 2.0 ? 1 : 0;
            if (i % 2 == 0) {
                characters.push_back(character);
            } else {
                words.push_back(character +
                                fist.Shape(KeyInterval::kWordGap, 4 * kDot, kDot) / kDot);
            }
        }
        const auto moments = [](const std::vector<double>& values) {
            double sum = 0.0;
            double squares = 0.0;
            for (const double v : values) {
                sum += v;
                squares += v * v;
            }
            const double mean = sum / static_cast<double>(values.size());
            return std::pair{mean,
                             std::sqrt(squares / static_cast<double>(values.size()) - mean * mean)};
        };
        const auto [dot, dotSpread] = moments(dots);
        const auto [dash, dashSpread] = moments(dashes);
        const auto [element, elementSpread] = moments(elementGaps);
        const auto [between, betweenSpread] = moments(characters);
        const auto [word, wordSpread] = moments(words);
        std::printf(
            "%-13s dot %.2f (%.2f)  dash %.2f (%.2f)  dash:dot %.2f  element gap %.2f "
            "(%.2f)  character gap %.2f (%.2f), %.1f %% under 2  word gap %.2f (%.2f)\n",
            name, dot, dotSpread, dash, dashSpread, dash / dot, element, elementSpread, between,
            betweenSpread, 100.0 * runTogether / 20000.0, word, wordSpread);
    }
}

}  // namespace

int main() {
    FilterSymmetry();
    FistFigures();
    CpuShare();
    CallbackPathCpuShare();
    SnrAccuracy();
    ThreeHundredCharacters();
    return 0;
}
