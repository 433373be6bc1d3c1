// The learner's sending: the decoder reading the program's own fists at 40 to 250 characters a
// minute (the share of characters read right, aligned with the text sent), how soon it follows a
// change of speed, and the CPU the keyer and the decoder take per second of keying. With
// "sidetone", under scripts/with-pulse: 500 key edges given to the sidetone on the sound card, the
// private server's monitor recorded, every element found in it (none lost or doubled), and the
// delay from each key-down to the moment its tone's first sample is heard, by the server's own
// clock of the sidetone's stream. Prints figures; asserts nothing.
#include <time.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadConditions.h"
#include "bench/Statistics.h"
#include "bench/StolenTime.h"
#include "core/CFist.h"
#include "core/TextKind.h"
#include "engine/CTransmissionTimeline.h"
#include "output/CSoundCardSidetone.h"
#include "output/MonotonicClock.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/SendingTimelines.h"
#include "text/CMorseText.h"
#include "training/CPaddleKeyer.h"
#include "training/CSendingDecoder.h"

namespace {

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void Accuracy() {
    std::printf(
        "== the decoder on the program's fists, 10 texts of 300 mixed characters per speed "
        "(goal: the exact model 100 %%, every fist at least 99 %%)\n");
    const struct {
        const char* name;
        FistKind fist;
    } fists[] = {{"exact model", FistKind::kNone},
                 {"good hand", FistKind::kGoodHand},
                 {"straight key", FistKind::kStraightKey},
                 {"bug", FistKind::kBug}};
    for (const auto& fist : fists) {
        std::printf("%-13s", fist.name);
        for (const int speed : {40, 60, 100, 150, 200, 250}) {
            double worst = 1.0;
            double sum = 0.0;
            for (std::uint32_t n = 0; n < 10; ++n) {
                CMorseText text;
                text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
                                                  kMixedText, 1000 * n + speed));
                text.SetKind(kMixedText);
                const CTransmissionTimeline timeline(text, speed, speed, 3.0,
                                                     CFist(fist.fist, 77 * n + speed));
                const double right =
                    ShareRight(text.GetText(), ReadWithoutSigns(EdgesOf(timeline), speed));
                worst = std::min(worst, right);
                sum += right;
            }
            std::printf("  %3d: %5.1f %% (worst %5.1f)", speed, 10.0 * sum, 100.0 * worst);
        }
        std::printf("\n");
    }
}

// The characters read wrong after the learner changes speed by half as much again, counted from
// the change: the decoder starts at one speed, the text is keyed at the other.
void SpeedChange() {
    std::printf("== a change of speed by a factor of 1.5 (goal: settled within 3 characters)\n");
    for (const auto& [expected, sent] :
         {std::pair{100, 150}, std::pair{150, 100}, std::pair{60, 90}, std::pair{200, 133}}) {
        int lastWrong = -1;
        for (std::uint32_t n = 0; n < 20; ++n) {
            CMorseText text;
            text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 500 + n)
                             .substr(0, 60));
            text.SetKind(kLetterText);
            const CTransmissionTimeline timeline(text, sent, sent, 3.0);
            std::string read = ReadWithoutSigns(EdgesOf(timeline), expected);
            std::string want = text.GetText();
            read.erase(std::remove(read.begin(), read.end(), ' '), read.end());
            want.erase(std::remove(want.begin(), want.end(), ' '), want.end());
            for (std::size_t i = 0; i < want.size(); ++i) {
                if (i >= read.size() || read[i] != want[i]) {
                    lastWrong = std::max(lastWrong, static_cast<int>(i));
                    break;
                }
            }
        }
        std::printf(
            "expected %3d, keyed %3d a minute: every character from the %d. on read right "
            "in 20 texts\n",
            expected, sent, lastWrong + 2);
    }
}

void Cpu() {
    // A minute of a paddle at 200 characters a minute: a squeeze of about four elements, then the
    // levers let go for a character's gap, again and again.
    constexpr std::int64_t kDot = 30000000;
    CPaddleKeyer keyer(KeyerMode::kIambicB, kDot, 3.0);
    CSendingDecoder decoder(kDot);
    const double start = ThreadSeconds();
    constexpr std::int64_t kMinute = 60000000000LL;
    for (std::int64_t cycle = 0; cycle < kMinute; cycle += 16 * kDot) {
        keyer.Press(Paddle::kDot, cycle);
        keyer.Press(Paddle::kDash, cycle);
        keyer.Release(Paddle::kDot, cycle + 9 * kDot);
        keyer.Release(Paddle::kDash, cycle + 9 * kDot);
        for (std::int64_t now = cycle + 9 * kDot; keyer.NextDeadline();) {
            now = *keyer.NextDeadline();
            keyer.AdvanceTo(now);
        }
        for (const KeyEdge& edge : keyer.TakeEdges()) {
            decoder.Add(edge);
        }
    }
    const double cpu = ThreadSeconds() - start;
    std::printf(
        "== CPU of the keyer and the decoder: %.3f ms for a minute of a paddle at 200 a minute "
        "(%.4f %% of a core; goal under 2 %%), %zu characters read (%s...)\n",
        cpu * 1000.0, cpu / 60.0 * 100.0, decoder.Characters().size(),
        decoder.Text().substr(0, 12).c_str());
}

// The onsets and ends of the tones in a recording: where its envelope (the largest magnitude in
// each millisecond) rises above and falls below a tenth of its peak.
struct Element {
    std::size_t onset;
    std::size_t end;
};
std::vector<Element> Elements(const std::vector<float>& samples) {
    float peak = 0.0F;
    for (const float x : samples) {
        peak = std::max(peak, std::fabs(x));
    }
    std::vector<Element> elements;
    bool sounding = false;
    constexpr std::size_t kWindow = 44;
    for (std::size_t at = 0; at + kWindow <= samples.size(); at += kWindow) {
        float most = 0.0F;
        std::size_t first = at;
        for (std::size_t i = at; i < at + kWindow; ++i) {
            if (std::fabs(samples[i]) > 0.1F * peak && most == 0.0F) {
                first = i;
            }
            most = std::max(most, std::fabs(samples[i]));
        }
        if (!sounding && most > 0.1F * peak) {
            elements.push_back({first, first});
            sounding = true;
        } else if (sounding && most <= 0.1F * peak) {
            elements.back().end = at;
            sounding = false;
        }
    }
    return elements;
}

int Sidetone(int argc, char** argv) {
    const std::unique_ptr<CBusyLoad> load =
        EstablishLoadConditions(ParseLoadConditions(argc, argv));
    const long underrunsBefore = ServerUnderruns();
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (sink == nullptr) {
        std::printf("run under scripts/with-pulse, which provides a private sound server\n");
        return 0;
    }
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("monitor.raw"), 20,
                            geteuid() == 0);
    CSoundCardSidetone sidetone;
    if (!recorder.Started() || !sidetone.Open(600, 0.5F)) {
        std::printf("the monitor could not be recorded or the sidetone could not open\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // 500 elements of 60 ms, 90 ms apart, as a learner keys dots at 100 characters a minute.
    constexpr int kElements = 500;
    constexpr std::int64_t kDown = 60000000;
    constexpr std::int64_t kPeriod = 150000000;
    std::vector<std::int64_t> downs;
    std::vector<std::int64_t> onsetSamples;
    std::vector<std::int64_t> origins;
    std::int64_t next = MonotonicNanoseconds() + kPeriod;
    // The host's steal and the real-time probe beside the keying: an underrun of a stream that
    // writes CSoundCardSidetone::kFillNanoseconds ahead is a stall of its thread longer than that.
    CStolenTime steal;
    WithWakeProbe(static_cast<double>(kElements * kPeriod) / 1e9, [&] {
        for (int n = 0; n < kElements; ++n) {
            const auto sleepUntil = [](std::int64_t at) {
                while (MonotonicNanoseconds() < at) {
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            };
            sleepUntil(next);
            const std::int64_t down = MonotonicNanoseconds();
            sidetone.Key(true, down);
            downs.push_back(down);
            sleepUntil(down + kDown);
            sidetone.Key(false, MonotonicNanoseconds());
            onsetSamples.push_back(sidetone.LastOnsetSample());
            // The server's clock runs apart from the system's: the stream's mapping of the moment.
            origins.push_back(sidetone.Stream()->OriginNanoseconds());
            next += kPeriod;
        }
    });
    steal.Stop();
    if (steal.Available()) {
        std::printf(
            "the host took %.0f ms of the processors during the keying, at most %.0f ms of "
            "one processor within 50 ms\n",
            steal.TotalMilliseconds(), steal.LongestMilliseconds(50000000));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const std::vector<float> recorded = recorder.Stop();
    const std::vector<Element> found = Elements(recorded);
    std::printf(
        "== sidetone on the sound card: %d key-downs of 60 ms, %zu elements in the "
        "monitor (goal: %d, none lost or doubled)\n",
        kElements, found.size(), kElements);
    const CPulseStream* stream = sidetone.Stream();
    if (stream == nullptr || !stream->Mapped()) {
        std::printf("the sidetone's stream has no clock\n");
        return 1;
    }
    // The stream's own clock says when a sample of it is heard; the first sample of each tone is
    // where the stream's thread found the key down.
    std::vector<double> delays;
    for (int n = 0; n < kElements; ++n) {
        if (onsetSamples[static_cast<std::size_t>(n)] < 0) {
            continue;
        }
        const double heard = static_cast<double>(origins[static_cast<std::size_t>(n)]) +
                             static_cast<double>(onsetSamples[static_cast<std::size_t>(n)]) * 1e9 /
                                 CPulseStream::kSampleRate;
        delays.push_back((heard - static_cast<double>(downs[static_cast<std::size_t>(n)])) / 1e6);
    }
    PrintSummary("key-down to the tone heard", Summarize(delays), "ms (goal: p99 within 15)");
    std::vector<double> lengths;
    for (const Element& element : found) {
        lengths.push_back(static_cast<double>(element.end - element.onset) * 1000.0 /
                          CPulseStream::kSampleRate);
    }
    PrintSummary("element length in the monitor", Summarize(lengths), "ms (keyed: 60)");
    // The monitor's own clock: each onset against its key-down, with the server's clock rate
    // fitted out (a straight line through all of them), shows how evenly the delay holds; the
    // recording's own latency is the same for all.
    if (found.size() == downs.size()) {
        const auto count = static_cast<double>(found.size());
        double sx = 0.0;
        double sy = 0.0;
        double sxx = 0.0;
        double sxy = 0.0;
        std::vector<double> x;
        std::vector<double> y;
        for (std::size_t k = 0; k < found.size(); ++k) {
            x.push_back(static_cast<double>(downs[k] - downs[0]) / 1e6);
            y.push_back(static_cast<double>(found[k].onset - found[0].onset) * 1e3 /
                        CPulseStream::kSampleRate);
            sx += x.back();
            sy += y.back();
            sxx += x.back() * x.back();
            sxy += x.back() * y.back();
        }
        const double slope = (count * sxy - sx * sy) / (count * sxx - sx * sx);
        const double offset = (sy - slope * sx) / count;
        std::vector<double> residual;
        for (std::size_t k = 0; k < x.size(); ++k) {
            residual.push_back(y[k] - offset - slope * x[k]);
        }
        std::printf("the server's clock against the system's: %+.0f ppm\n", (slope - 1.0) * 1e6);
        PrintSummary("onset in the monitor, its spread", Summarize(residual),
                     "ms around the fitted delay");
    }
    const long underrunsAfter = ServerUnderruns();
    std::printf("underruns in the sound server's log: %ld\n",
                underrunsBefore < 0 ? -1 : underrunsAfter - underrunsBefore);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "sidetone") == 0) {
            return Sidetone(argc, argv);
        }
    }
    Accuracy();
    SpeedChange();
    Cpu();
    return 0;
}
