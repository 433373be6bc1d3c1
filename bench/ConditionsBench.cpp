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
#include "output/CInterferingStation.h"
#include "output/CReceptionConditions.h"
#include "output/CSoundCardOutput.h"
#include "output/CStaticCrashes.h"
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
        "== CPU share, everything on at its highest (SNR -10 dB in 250 Hz, flutter of 10 Hz "
        "on two paths, fast AGC, %d crashes a minute, a pile-up of %d, chirp %d Hz, clicks)\n",
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

// Power of the bins within `halfWidthHz` of `hz` in a Hann-windowed spectrum, per bin.
struct Bins {
    std::vector<std::complex<float>> spectrum;
    double binHz;
    double Power(double hz, double halfWidthHz) const {
        double sum = 0.0;
        const auto centre = static_cast<long>(std::lround(hz / binHz));
        const auto reach = static_cast<long>(halfWidthHz / binHz);
        for (long k = centre - reach; k <= centre + reach; ++k) {
            sum += std::norm(spectrum[static_cast<std::size_t>(k)]);
        }
        return sum;
    }
};

Bins SpectrumOf(const std::vector<float>& samples, double rate) {
    std::size_t n = 1;
    while (n * 2 <= samples.size()) {
        n *= 2;
    }
    std::vector<std::complex<float>> in(n);
    Bins bins{std::vector<std::complex<float>>(n), rate / static_cast<double>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        in[i] = static_cast<float>((0.5 - 0.5 * std::cos(kTwoPi * static_cast<double>(i) / n)) *
                                   samples[i]);
    }
    fftplan plan = fft_create_plan(static_cast<unsigned int>(n), in.data(), bins.spectrum.data(),
                                   LIQUID_FFT_FORWARD, 0);
    fft_execute(plan);
    fft_destroy_plan(plan);
    return bins;
}

// The tone's power against the noise in 500 Hz, the noise density taken beside the tone (from
// 5 to `flatHz` Hz away), all from the one sound.
double HeardSnrDb(const std::vector<float>& heard, double tone, double rate, double flatHz) {
    const Bins bins = SpectrumOf(heard, rate);
    const auto count = [&](double halfWidthHz) {
        return 2.0 * std::floor(halfWidthHz / bins.binHz) + 1.0;
    };
    const double perBin =
        (bins.Power(tone, flatHz) - bins.Power(tone, 5.0)) / (count(flatHz) - count(5.0));
    const double tonePower = bins.Power(tone, 0.5) - perBin * count(0.5);
    return 10.0 * std::log10(tonePower / (perBin * 500.0 / bins.binHz));
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
            settings.agc = ReceptionSettings::Agc::kOff;
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
    std::printf("largest error %.2f dB over 24 s of sound each (AGC off)\n", worst);
    // The gain control is not linear: the tone and the noise are measured in one rendering, the
    // noise density beside the tone's bins.
    std::printf("with the AGC on, measured in the heard sound alone:\n");
    for (const auto agc : {ReceptionSettings::Agc::kFast, ReceptionSettings::Agc::kSlow}) {
        for (const int snr : {-10, 0, 10, 20}) {
            ReceptionSettings settings;
            settings.noise = true;
            settings.snrDb = snr;
            settings.agc = agc;
            CReceptionConditions conditions(settings, 77, kTone, 0.25F);
            std::vector<float> heard = steady;
            conditions.Render(heard.data(), nullptr, frames);
            heard.erase(heard.begin(), heard.begin() + static_cast<long>(settle));
            const std::vector<float> none(heard.size(), 0.0F);
            std::printf("  %s AGC, asked %3d dB: %6.2f dB\n",
                        agc == ReceptionSettings::Agc::kFast ? "fast" : "slow", snr,
                        HeardSnrDb(heard, kTone, kRate, 100.0));
        }
    }
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

// A steady tone of `seconds` at the bench's tone.
std::vector<float> SteadyTone(double seconds, float amplitude) {
    std::vector<float> tone(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < tone.size(); ++i) {
        tone[i] = amplitude *
                  static_cast<float>(std::sin(kTwoPi * kTone * static_cast<double>(i) / kRate));
    }
    return tone;
}

// The envelope at the tone, 100 times a second: the tone mixed down and averaged over 441
// samples (six periods of 600 Hz, and whole ones of every 100 Hz step).
std::vector<double> EnvelopeDb(const std::vector<float>& heard) {
    std::vector<double> levels;
    constexpr std::size_t kWindow = 441;
    for (std::size_t at = 0; at + kWindow <= heard.size(); at += kWindow) {
        std::complex<double> sum;
        for (std::size_t i = at; i < at + kWindow; ++i) {
            sum += static_cast<double>(heard[i]) *
                   std::polar(1.0, -kTwoPi * kTone * static_cast<double>(i) / kRate);
        }
        levels.push_back(20.0 * std::log10(std::max(std::abs(sum) * 2.0 / kWindow, 1e-12)));
    }
    return levels;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// Ten minutes of a steady tone through each fading preset at full depth (AGC off, nothing else
// on), its envelope against the Rayleigh distribution's figures.
void FadingFigures() {
    std::printf(
        "== fading at full depth, 10 minutes of a steady tone each, envelope every 10 ms "
        "(Rayleigh: 10th-90th percentile 13.4 dB (goal within 1 dB), 1.1 %% of the time "
        "below -18 dB from the median, fades as often as the spread makes them)\n");
    const char* names[] = {"quiet", "moderate", "disturbed", "flutter"};
    const std::vector<float> tone = SteadyTone(600.0, 0.25F);
    for (std::size_t p = 0; p < std::size(kFadingPresets); ++p) {
        ReceptionSettings settings;
        settings.fading = true;
        settings.fadingDepthPercent = 100;
        settings.fadingSpreadCentihertz = kFadingPresets[p].spreadCentihertz;
        settings.pathDelayMicroseconds = kFadingPresets[p].pathDelayMicroseconds;
        settings.agc = ReceptionSettings::Agc::kOff;
        CReceptionConditions conditions(settings, 900 + p, kTone, 0.25F);
        std::vector<float> heard = tone;
        conditions.Render(heard.data(), nullptr, heard.size());
        const std::vector<double> levels = EnvelopeDb(heard);
        const double median = Percentile(levels, 0.5);
        std::size_t deep = 0;
        std::size_t fades = 0;
        bool above = true;
        for (const double level : levels) {
            deep += level < median - 18.0 ? 1 : 0;
            fades += above && level < median ? 1 : 0;
            above = level >= median;
        }
        const double spreadHz = kFadingPresets[p].spreadCentihertz / 100.0;
        std::printf(
            "%-10s %5.2f Hz, %s: 10-90 %% spread %5.2f dB, below -18 dB %5.2f %% of the time, "
            "a fade every %6.2f s (expected %6.2f s)\n",
            names[p], spreadHz,
            kFadingPresets[p].pathDelayMicroseconds > 0
                ? (std::to_string(kFadingPresets[p].pathDelayMicroseconds / 1000.0).substr(0, 3) +
                   " ms second path")
                      .c_str()
                : "one path        ",
            Percentile(levels, 0.9) - Percentile(levels, 0.1),
            100.0 * static_cast<double>(deep) / static_cast<double>(levels.size()),
            600.0 / static_cast<double>(std::max<std::size_t>(fades, 1)),
            ReceptionSettings::kFadeSecondsTimesHertz / spreadHz);
    }
}

// Every gain setting in configurations of the conditions: samples at or above full scale, samples
// the limiter bent, and (where no noise hides them) the harmonics of the wanted tone.
void GainFigures() {
    std::printf(
        "== the receiver's gain: 60 s of a keyed text per configuration (goal: 0 samples at "
        "full scale, harmonics below -60 dB)\n");
    struct Configuration {
        const char* name;
        void (*set)(ReceptionSettings&);
    };
    const Configuration configurations[] = {
        {"fading, disturbed",
         [](ReceptionSettings& s) {
             s.fading = true;
             s.fadingSpreadCentihertz = 100;
             s.pathDelayMicroseconds = 2000;
         }},
        {"fading, flutter",
         [](ReceptionSettings& s) {
             s.fading = true;
             s.fadingSpreadCentihertz = 1000;
         }},
        {"noise -10 dB",
         [](ReceptionSettings& s) {
             s.noise = true;
             s.snrDb = -10;
         }},
        {"static 600/min",
         [](ReceptionSettings& s) {
             s.staticCrashes = true;
             s.staticPerMinute = 600;
         }},
        {"5 stations",
         [](ReceptionSettings& s) {
             s.interference = true;
             s.stations = 5;
         }},
        {"everything", [](ReceptionSettings& s) { s = EverythingAtItsHighest(); }},
    };
    const CTransmissionTimeline timeline = Timeline300(FistKind::kNone, 5);
    const Keyed keyed = KeyTimeline(timeline, 0.5F);
    const std::size_t frames = std::min(keyed.samples.size(), static_cast<std::size_t>(60 * kRate));
    const std::vector<float> steady = SteadyTone(60.0, 0.5F);
    for (const auto agc : {ReceptionSettings::Agc::kOff, ReceptionSettings::Agc::kFast,
                           ReceptionSettings::Agc::kSlow}) {
        const char* agcName = agc == ReceptionSettings::Agc::kOff    ? "AGC off "
                              : agc == ReceptionSettings::Agc::kFast ? "AGC fast"
                                                                     : "AGC slow";
        for (const Configuration& configuration : configurations) {
            ReceptionSettings settings;
            configuration.set(settings);
            settings.agc = agc;
            CReceptionConditions conditions(settings, 31, kTone, 0.5F);
            std::vector<float> heard(keyed.samples.begin(),
                                     keyed.samples.begin() + static_cast<long>(frames));
            conditions.Render(heard.data(), keyed.envelope.data(), frames);
            std::size_t full = 0;
            std::size_t bent = 0;
            float peak = 0.0F;
            for (const float sample : heard) {
                full += std::fabs(sample) >= 1.0F ? 1 : 0;
                bent += std::fabs(sample) > CReceptionConditions::kLimiterKnee ? 1 : 0;
                peak = std::max(peak, std::fabs(sample));
            }
            std::printf("%s %-18s peak %5.3f, at full scale %zu, bent by the limiter %zu", agcName,
                        configuration.name, peak, full, bent);
            if (!settings.noise && !settings.staticCrashes && !settings.interference) {
                // The harmonics of a steady tone through the same conditions.
                CReceptionConditions again(settings, 31, kTone, 0.5F);
                std::vector<float> tone = steady;
                again.Render(tone.data(), nullptr, tone.size());
                const Bins bins = SpectrumOf(tone, kRate);
                const double fundamental = bins.Power(kTone, 15.0);
                double worst = -300.0;
                for (int harmonic = 2; harmonic <= 5; ++harmonic) {
                    worst = std::max(
                        worst, 10.0 * std::log10(bins.Power(kTone * harmonic, 15.0) / fundamental));
                }
                std::printf(", harmonics at most %.1f dB", worst);
            }
            std::printf("\n");
        }
    }
}

// A steady tone with static crashes: how far the gain control pulls the tone down after a crash,
// and how long it takes to return within 1 dB of its level, as a receiver's AGC pumps.
void Pumping() {
    std::printf(
        "== pumping: a steady tone with 6 crashes a minute, 10 minutes (envelope every "
        "10 ms)\n");
    const std::vector<float> tone = SteadyTone(600.0, 0.25F);
    for (const auto agc : {ReceptionSettings::Agc::kOff, ReceptionSettings::Agc::kFast,
                           ReceptionSettings::Agc::kSlow}) {
        ReceptionSettings settings;
        settings.staticCrashes = true;
        settings.staticPerMinute = 6;
        settings.agc = agc;
        CReceptionConditions conditions(settings, 12, kTone, 0.25F);
        std::vector<float> heard = tone;
        conditions.Render(heard.data(), nullptr, heard.size());
        const std::vector<double> levels = EnvelopeDb(heard);
        const double median = Percentile(levels, 0.5);
        // Each dip of over 3 dB: its depth and the time until the tone is back within 1 dB.
        std::vector<double> depths;
        std::vector<double> recoveries;
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (levels[i] > median - 3.0) {
                continue;
            }
            double deepest = levels[i];
            std::size_t end = i;
            while (end < levels.size() && levels[end] < median - 1.0) {
                deepest = std::min(deepest, levels[end]);
                ++end;
            }
            depths.push_back(median - deepest);
            recoveries.push_back(static_cast<double>(end - i) * 10.0);
            i = end;
        }
        std::printf("%s: %zu dips of over 3 dB",
                    agc == ReceptionSettings::Agc::kOff    ? "AGC off "
                    : agc == ReceptionSettings::Agc::kFast ? "AGC fast"
                                                           : "AGC slow",
                    depths.size());
        if (!depths.empty()) {
            std::printf(
                ", median depth %.1f dB (deepest %.1f dB), back within 1 dB after a "
                "median %.0f ms (longest %.0f ms)",
                Percentile(depths, 0.5), Percentile(depths, 1.0), Percentile(recoveries, 0.5),
                Percentile(recoveries, 1.0));
        }
        std::printf("\n");
    }
}

// Interfering stations over ten minutes, each on its own: how long it is on the air, how often
// it comes and goes, how near the wanted tone it comes.
void StationFigures() {
    std::printf(
        "== interfering stations, 20 drawn, 10 minutes each (goal: they come and go; never "
        "within 50 Hz of the wanted tone)\n");
    CSeededRandom drawing(404);
    double onShare = 0.0;
    int appearances = 0;
    double nearest = 1e9;
    double nearestZeroBeat = 1e9;
    constexpr std::size_t kBlock = 4410;
    std::vector<float> block(kBlock);
    for (int n = 0; n < 20; ++n) {
        for (const bool zeroBeat : {false, true}) {
            const CInterferingStation::Traits traits =
                CInterferingStation::Draw(drawing, 500.0, zeroBeat);
            CInterferingStation station(traits, kRate, 500 + n);
            bool wasOn = false;
            int on = 0;
            const int blocks = static_cast<int>(600.0 * kRate / kBlock);
            for (int b = 0; b < blocks; ++b) {
                std::fill(block.begin(), block.end(), 0.0F);
                station.Render(block.data(), kBlock, kTone, 1.0F);
                const bool isOn = station.OnTheAir();
                on += isOn ? 1 : 0;
                const double offset = std::fabs(station.GetTraits().offsetHz);
                (zeroBeat ? nearestZeroBeat : nearest) =
                    std::min(zeroBeat ? nearestZeroBeat : nearest, offset);
                if (!zeroBeat) {
                    appearances += isOn && !wasOn ? 1 : 0;
                }
                wasOn = isOn;
            }
            if (!zeroBeat) {
                onShare += static_cast<double>(on) / blocks / 20.0;
            }
        }
    }
    std::printf(
        "on the air %.0f %% of the time, %.1f appearances per station in 10 minutes; nearest "
        "offset %.1f Hz (zero-beat practice allowed: %.1f Hz)\n",
        100.0 * onShare, appearances / 20.0, nearest, nearestZeroBeat);
}

// Static over ten minutes at a few rates: the crashes counted and their levels' range.
void StaticFigures() {
    std::printf(
        "== static crashes, 10 minutes each (goal: the rate asked, levels spread over 40 dB, "
        "in bursts, crackle beneath)\n");
    for (const int perMinute : {6, 30, 120, 600}) {
        CStaticCrashes crashes(perMinute, kRate, 1.0, 77);
        std::vector<float> out(static_cast<std::size_t>(kRate), 0.0F);
        std::size_t silentSeconds = 0;
        for (int second = 0; second < 600; ++second) {
            std::fill(out.begin(), out.end(), 0.0F);
            crashes.Render(out.data(), out.size());
            silentSeconds +=
                std::all_of(out.begin(), out.end(), [](float x) { return x == 0.0F; }) ? 1 : 0;
        }
        const CStaticCrashes::Drawn& drawn = crashes.Started();
        std::printf(
            "%4d a minute asked: %6.1f a minute counted, levels %+5.1f to %+5.1f dB (%.1f dB "
            "apart), seconds without any crackle %zu of 600\n",
            perMinute, drawn.crashes / 10.0, drawn.lowestDb, drawn.highestDb,
            drawn.highestDb - drawn.lowestDb, silentSeconds);
    }
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
    FadingFigures();
    GainFigures();
    Pumping();
    StationFigures();
    StaticFigures();
    FilterSymmetry();
    FistFigures();
    CpuShare();
    CallbackPathCpuShare();
    SnrAccuracy();
    ThreeHundredCharacters();
    return 0;
}
