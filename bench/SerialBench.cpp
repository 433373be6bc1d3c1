// DTR keying of the serial output against the timing model: the keying engine keys a generated
// text through CSerialPortOutput on a pseudo-terminal, and every DTR edge is compared with the
// model's timeline, counted from the first raise. The ioctls go to the real pseudo-terminal;
// where it refuses the modem-line ioctls, the edge times are still those of the calls made.
#include <fcntl.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadConditions.h"
#include "bench/ModelTimeline.h"
#include "bench/Statistics.h"
#include "bench/StolenTime.h"
#include "core/CNotifier.h"
#include "core/OutputKind.h"
#include "engine/CKeyingEngine.h"
#include "output/CSerialPortOutput.h"
#include "output/CSystemCalls.h"
#include "output/MonotonicClock.h"
#include "tests/support/CFinishListener.h"

namespace {

// The real calls, noting the time of every DTR raise and of the drop that follows it.
class CEdgeTimingCalls : public CPosixSystemCalls {
public:
    // Touched beforehand, so that keying neither allocates nor faults in a page.
    CEdgeTimingCalls() {
        edges.resize(8192);
        edges.clear();
    }
    int IoctlPointer(int fd, unsigned long request, void* argument) override {
        const std::int64_t at = MonotonicNanoseconds();
        const int result = CPosixSystemCalls::IoctlPointer(fd, request, argument);
        if (request == TIOCMBIS) {
            raised = at;
            raisedOn = sched_getcpu();
        } else if (request == TIOCMBIC && raised != 0 && edges.size() < edges.capacity()) {
            edges.push_back({raised, at, raisedOn, sched_getcpu()});
            raised = 0;
        }
        // A pseudo-terminal has no modem lines and refuses every switch; the calls are timed all
        // the same, and the device is told they went through so that the whole text is keyed.
        refused += result != 0 ? 1 : 0;
        return 0;
    }
    struct Edge {
        std::int64_t raised;
        std::int64_t dropped;
        int raisedOn;
        int droppedOn;
    };
    std::vector<Edge> edges;
    std::int64_t raised = 0;
    int raisedOn = -1;
    int refused = 0;
};

}  // namespace

// Arguments, in any order: the number of characters (100); "busy" to keep every core loaded by
// busy processes; "user" to run without the right to real-time scheduling.
int main(int argc, char** argv) {
    const LoadConditions conditions = ParseLoadConditions(argc, argv);
    const std::unique_ptr<CBusyLoad> load = EstablishLoadConditions(conditions);
    std::size_t characters = 100;
    for (int i = 1; i < argc; ++i) {
        if (std::isdigit(static_cast<unsigned char>(argv[i][0])) != 0) {
            characters = std::stoul(argv[i]);
        }
    }
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::printf("no pseudo-terminal\n");
        return 1;
    }
    CEdgeTimingCalls calls;
    CSilentNotifier notifier;
    for (const auto& [sign, textSpeed] : {std::pair{200, 200}, std::pair{100, 60}}) {
        calls.edges.clear();
        const std::string text = CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 7)
                                     .substr(0, characters);
        CMorseText morse;
        morse.SetText(text);
        morse.SetKind(kLetterText);
        CFinishListener listener;
        CKeyingEngine engine(&listener);
        engine.ReplaceDevice(std::make_unique<CSerialPortOutput>(ptsname(master), calls, notifier),
                             kSerialPortOutput);
        engine.SetSignSpeed(sign);
        engine.SetTextSpeed(textSpeed);
        engine.SetText(morse);
        const std::vector<ModelElement> model = ModelTimeline(text, sign, textSpeed, 3.0);
        CStolenTime steal;
        WithWakeProbe(ModelSeconds(model), [&] {
            engine.Start(morse.FormatLines(), false);
            listener.WaitFor(1);
        });
        steal.Stop();
        std::printf("\n%d/%d, %zu characters on %s: %zu DTR pulses (model %zu)\n", sign, textSpeed,
                    text.size(), ptsname(master), calls.edges.size(), model.size());
        if (calls.edges.size() != model.size()) {
            continue;
        }
        std::vector<double> raises;
        std::vector<double> drops;
        std::vector<std::int64_t> late;
        std::vector<std::int64_t> at;
        std::vector<int> processors;
        // Each element and each gap on its own: what a listener hears of a stall that moved the
        // rest of the text along with it.
        std::vector<double> intervals;
        for (std::size_t i = 0; i < model.size(); ++i) {
            const auto nanoseconds = [](std::int64_t units) {
                return static_cast<double>(units) * 100;
            };
            intervals.push_back(
                std::abs(static_cast<double>(calls.edges[i].dropped - calls.edges[i].raised) -
                         nanoseconds(model[i].lengthUnits)) /
                1000.0);
            if (i + 1 < model.size()) {
                const std::int64_t modelGap =
                    model[i + 1].startUnits - model[i].startUnits - model[i].lengthUnits;
                intervals.push_back(std::abs(static_cast<double>(calls.edges[i + 1].raised -
                                                                 calls.edges[i].dropped) -
                                             nanoseconds(modelGap)) /
                                    1000.0);
            }
            const double modelRaise =
                static_cast<double>(model[i].startUnits - model[0].startUnits) * 100;
            const double modelDrop = modelRaise + static_cast<double>(model[i].lengthUnits) * 100;
            const double raise =
                static_cast<double>(calls.edges[i].raised - calls.edges[0].raised) - modelRaise;
            const double drop =
                static_cast<double>(calls.edges[i].dropped - calls.edges[0].raised) - modelDrop;
            raises.push_back(std::abs(raise) / 1000.0);
            drops.push_back(std::abs(drop) / 1000.0);
            late.push_back(static_cast<std::int64_t>(raise));
            at.push_back(calls.edges[i].raised);
            processors.push_back(calls.edges[i].raisedOn);
            late.push_back(static_cast<std::int64_t>(drop));
            at.push_back(calls.edges[i].dropped);
            processors.push_back(calls.edges[i].droppedOn);
        }
        PrintSummary("DTR raise |error|", Summarize(raises), "us from the model (goal: p99 100)");
        PrintSummary("DTR drop |error|", Summarize(drops), "us from the model (goal: p99 100)");
        PrintSummary("pulse and gap |error|", Summarize(intervals), "us from the model");
        PrintStallsBeside(steal, late, at, processors);
    }
    std::printf("modem-line ioctls refused by the pseudo-terminal: %d\n", calls.refused);
    close(master);
    return 0;
}
