// Keying on the real clock: a generated text through a device that only records the steady-clock
// time of every key-down and key-up. Prints each interval kind's deviation from the timing model,
// the total duration error, and the CPU time the send thread used per second of sending.
#include <time.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "engine/CKeyingEngine.h"
#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "tests/support/CFinishListener.h"

namespace {

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t ThreadCpuNanoseconds() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return static_cast<std::int64_t>(cpu.tv_sec) * 1000000000 + cpu.tv_nsec;
}

// Records key edges; storage is reserved beforehand so that Key does not allocate.
class CTimestampDevice : public COutputDevice {
public:
    struct Edge {
        std::int64_t down;
        std::int64_t up;
    };
    CTimestampDevice() { edges.reserve(8192); }
    void Key(std::int32_t durationUnits) override {
        if (edges.empty()) {
            cpuAtStart = ThreadCpuNanoseconds();
        }
        const std::int64_t down = NowNanoseconds();
        Timer().Wait(durationUnits);
        edges.push_back({down, NowNanoseconds()});
        cpuAtEnd = ThreadCpuNanoseconds();
    }
    std::vector<Edge> edges;
    std::int64_t cpuAtStart = 0;
    std::int64_t cpuAtEnd = 0;
};

enum GapKind { kElementGap, kCharacterGap, kWordGap, kOtherGap };

// The nominal length of every element and of the silence after it, in nanoseconds.
struct Nominal {
    double element;
    double gapAfter;
    GapKind kind;
};

std::vector<Nominal> Model(const std::string& text, const TimingValues& timing, double ratio) {
    const double dot = timing.dotUnits * 100;
    const double spacing = timing.spacingUnits * 100;
    std::vector<Nominal> model;
    const auto addCharacter = [&](char c, double lastGap, GapKind lastKind) {
        const std::string_view code = CMorseTable::CodeOf(c, false);
        for (std::size_t i = 0; i < code.size(); ++i) {
            const bool last = i + 1 == code.size();
            model.push_back({code[i] == '.' ? dot : ratio * dot, last ? lastGap : dot,
                             last ? lastKind : kElementGap});
        }
    };
    addCharacter('=', 7 * spacing, kOtherGap);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool wordFollows = i + 1 < text.size() && text[i + 1] == ' ';
        if (text[i] != ' ') {
            addCharacter(text[i], wordFollows ? 7 * spacing : 3 * spacing,
                         wordFollows ? kWordGap : kCharacterGap);
        }
    }
    // The end sign follows the last character (or trailing space) after a character gap.
    if (!text.empty() && text.back() == ' ') {
        model.back().gapAfter = 7 * spacing;
        model.back().kind = kOtherGap;
    }
    addCharacter('+', 0, kOtherGap);
    return model;
}

void Run(int signSpeed, int textSpeed) {
    const double ratio = 3.0;
    const std::string generated =
        CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 2026);
    CMorseText text;
    text.SetText(generated);
    text.SetKind(kLetterText);

    CFinishListener listener;
    CKeyingEngine engine(&listener);
    auto recorder = std::make_unique<CTimestampDevice>();
    CTimestampDevice& device = *recorder;
    engine.ReplaceDevice(std::move(recorder), -1);
    engine.SetSignSpeed(signSpeed);
    engine.SetTextSpeed(textSpeed);
    engine.SetDashRatio(ratio);
    engine.SetText(text);
    engine.Start(text.FormatLines(), false);
    listener.WaitFor(1);

    const std::vector<Nominal> model =
        Model(generated, ComputeTiming(signSpeed, textSpeed, ratio), ratio);
    const auto& edges = device.edges;
    std::printf("\n%d/%d, ratio 1:3, %zu characters, %zu elements keyed (model %zu)\n", signSpeed,
                textSpeed, generated.size(), edges.size(), model.size());
    if (edges.size() != model.size()) {
        std::printf("element count differs from the model; no figures\n");
        return;
    }
    std::vector<double> elements;
    std::vector<double> gaps[4];
    double nominalTotal = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const double length = static_cast<double>(edges[i].up - edges[i].down);
        elements.push_back((length - model[i].element) / 1000.0);
        nominalTotal += model[i].element;
        if (i + 1 < edges.size()) {
            const double gap = static_cast<double>(edges[i + 1].down - edges[i].up);
            gaps[model[i].kind].push_back((gap - model[i].gapAfter) / 1000.0);
            nominalTotal += model[i].gapAfter;
        }
    }
    const auto absolute = [](std::vector<double> values) {
        for (double& v : values) {
            v = v < 0 ? -v : v;
        }
        return values;
    };
    PrintSummary("element |deviation|", Summarize(absolute(elements)), "us");
    PrintSummary("element gap |deviation|", Summarize(absolute(gaps[kElementGap])), "us");
    PrintSummary("character gap |deviation|", Summarize(absolute(gaps[kCharacterGap])), "us");
    PrintSummary("word gap |deviation|", Summarize(absolute(gaps[kWordGap])), "us");
    PrintSummary("element signed", Summarize(elements), "us");
    const double total = static_cast<double>(edges.back().up - edges.front().down);
    std::printf("total %.3f s, error %+.1f us\n", total / 1e9, (total - nominalTotal) / 1000.0);
    const double cpu = static_cast<double>(device.cpuAtEnd - device.cpuAtStart);
    std::printf("send thread CPU %.3f ms per second of sending (%.3f %%)\n", cpu / total * 1000.0,
                cpu / total * 100.0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "fast") {
        Run(200, 200);
    }
    if (only.empty() || only == "slow") {
        Run(100, 60);
    }
    return 0;
}
