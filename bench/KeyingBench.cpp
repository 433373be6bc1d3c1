// Keying on the real clock: a generated text through a key line that only records the
// steady-clock time of every key-down and key-up, keyed as the speaker and the serial line key.
// Prints every edge's error against the timing model's timeline, the element and gap errors, and
// the CPU time the send thread used per second of sending.
#include <sched.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadConditions.h"
#include "bench/ModelTimeline.h"
#include "bench/Statistics.h"
#include "bench/StolenTime.h"
#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CKeyingEngine.h"
#include "output/CKeyLineOutput.h"
#include "tests/support/CFinishListener.h"

namespace {

std::int64_t NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

long ThreadPageFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

std::int64_t ThreadCpuNanoseconds() {
    timespec cpu{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
    return static_cast<std::int64_t>(cpu.tv_sec) * 1000000000 + cpu.tv_nsec;
}

// A key line that only records the steady-clock time of every edge; storage is reserved and
// touched beforehand so that keying neither allocates nor faults in a page.
class CTimestampDevice : public CKeyLineOutput {
public:
    struct Edge {
        std::int64_t down;
        std::int64_t up;
        int downOn;
        int upOn;
    };
    CTimestampDevice() { edges.assign(8192, Edge{}); }
    // Once, on the send thread, after the end sign.
    void EndTransmission() override {
        CKeyLineOutput::EndTransmission();
        cpuAtEnd = ThreadCpuNanoseconds();
        faultsAtEnd = ThreadPageFaults();
    }
    std::vector<Edge> Edges() const {
        return {edges.begin(), edges.begin() + static_cast<std::ptrdiff_t>(count)};
    }
    std::int64_t cpuAtStart = 0;
    std::int64_t cpuAtEnd = 0;
    long faultsAtStart = 0;
    long faultsAtEnd = 0;

protected:
    int SetLine(bool on) override {
        if (count == edges.size() || on == lineOn) {
            return 0;
        }
        lineOn = on;
        if (on) {
            if (count == 0) {
                cpuAtStart = ThreadCpuNanoseconds();
                faultsAtStart = ThreadPageFaults();
            }
            edges[count].down = NowNanoseconds();
            edges[count].downOn = sched_getcpu();
        } else {
            edges[count].up = NowNanoseconds();
            edges[count++].upOn = sched_getcpu();
        }
        return 0;
    }

private:
    std::vector<Edge> edges;
    std::size_t count = 0;
    bool lineOn = false;
};

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
    const std::vector<ModelElement> model = ModelTimeline(generated, signSpeed, textSpeed, ratio);
    CStolenTime steal;
    WithWakeProbe(ModelSeconds(model), [&] {
        engine.Start(text.FormatLines(), false);
        listener.WaitFor(1);
    });
    steal.Stop();
    const std::vector<CTimestampDevice::Edge> edges = device.Edges();
    std::printf("\n%d/%d, ratio 1:3, %zu characters, %zu elements keyed (model %zu)\n", signSpeed,
                textSpeed, generated.size(), edges.size(), model.size());
    if (edges.size() != model.size()) {
        std::printf("element count differs from the model; no figures\n");
        return;
    }
    // Every edge against the model's timeline, counted from the first key-down.
    std::vector<double> elements;
    std::vector<double> gaps;
    std::vector<double> downs;
    std::vector<double> ups;
    std::vector<std::int64_t> late;
    std::vector<std::int64_t> at;
    std::vector<int> processors;
    for (std::size_t i = 0; i < edges.size(); ++i) {
        const double modelDown =
            static_cast<double>(model[i].startUnits - model[0].startUnits) * 100;
        const double modelUp = modelDown + static_cast<double>(model[i].lengthUnits) * 100;
        const double down = static_cast<double>(edges[i].down - edges[0].down);
        const double up = static_cast<double>(edges[i].up - edges[0].down);
        downs.push_back(std::abs(down - modelDown) / 1000.0);
        ups.push_back(std::abs(up - modelUp) / 1000.0);
        late.insert(late.end(), {static_cast<std::int64_t>(down - modelDown),
                                 static_cast<std::int64_t>(up - modelUp)});
        at.insert(at.end(), {edges[i].down, edges[i].up});
        processors.insert(processors.end(), {edges[i].downOn, edges[i].upOn});
        elements.push_back((up - down - (modelUp - modelDown)) / 1000.0);
        if (i + 1 < edges.size()) {
            const double modelGap =
                static_cast<double>(model[i + 1].startUnits - model[i].startUnits -
                                    model[i].lengthUnits) *
                100;
            gaps.push_back((static_cast<double>(edges[i + 1].down - edges[i].up) - modelGap) /
                           1000.0);
        }
    }
    PrintSummary("key-down |error|", Summarize(downs), "us from the model (goal: p99 100)");
    PrintSummary("key-up |error|", Summarize(ups), "us from the model (goal: p99 100)");
    PrintSummary("element length error", Summarize(elements), "us");
    PrintSummary("gap error", Summarize(gaps), "us");
    PrintStallsBeside(steal, late, at, processors);
    const double total = static_cast<double>(edges.back().up - edges.front().down);
    const double cpu = static_cast<double>(device.cpuAtEnd - device.cpuAtStart);
    std::printf("send thread CPU %.3f ms per second of sending (%.3f %%), page faults %ld\n",
                cpu / total * 1000.0, cpu / total * 100.0,
                device.faultsAtEnd - device.faultsAtStart);
}

}  // namespace

// Arguments, in any order: "fast" (200/200) or "slow" (100/60) alone, else both; "busy" to keep
// every core loaded by busy processes; "user" to run without the right to real-time scheduling.
int main(int argc, char** argv) {
    const LoadConditions conditions = ParseLoadConditions(argc, argv);
    const std::unique_ptr<CBusyLoad> load = EstablishLoadConditions(conditions);
    bool fast = true;
    bool slow = true;
    for (int i = 1; i < argc; ++i) {
        fast = fast && std::string(argv[i]) != "slow";
        slow = slow && std::string(argv[i]) != "fast";
    }
    if (fast) {
        Run(200, 200);
    }
    if (slow) {
        Run(100, 60);
    }
    return 0;
}
