#include "bench/StolenTime.h"

#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::int64_t Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The steal column (the eighth number) of every "cpuN" line, in milliseconds.
std::vector<double> ReadSteal() {
    std::vector<double> stolen;
    std::ifstream stat("/proc/stat");
    const double millisecondsPerTick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    for (std::string line; std::getline(stat, line);) {
        if (line.rfind("cpu", 0) != 0 || line.size() < 4 || line[3] == ' ') {
            continue;
        }
        std::istringstream fields(line.substr(line.find(' ')));
        double value = 0;
        for (int column = 0; column < 8 && fields >> value; ++column) {
        }
        stolen.push_back(value * millisecondsPerTick);
    }
    return stolen;
}

constexpr std::int64_t kSampleNanoseconds = 5000000;
constexpr std::size_t kMostSamples = 200000;

}  // namespace

CStolenTime::CStolenTime() {
    samples.reserve(kMostSamples);
    std::ifstream stat("/proc/stat");
    std::string columns;
    std::getline(stat, columns);
    available = std::count(columns.begin(), columns.end(), ' ') >= 9;
    sampler = std::thread([this] { Run(); });
}

CStolenTime::~CStolenTime() {
    Stop();
}

void CStolenTime::Run() {
    // Below the send thread (80) and the probe, above every load: the sample times stay close to
    // the moments they describe without taking a processor from the measurement.
    sched_param param{};
    param.sched_priority = 70;
    sched_setscheduler(0, SCHED_FIFO, &param);
    std::int64_t next = Now();
    while (!stop.load(std::memory_order_relaxed) && samples.size() < kMostSamples) {
        Sample sample;
        sample.stolenMilliseconds = ReadSteal();
        sample.at = Now();
        samples.push_back(std::move(sample));
        next += kSampleNanoseconds;
        const timespec until{static_cast<time_t>(next / 1000000000),
                             static_cast<long>(next % 1000000000)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
    }
}

void CStolenTime::Stop() {
    stop = true;
    if (sampler.joinable()) {
        sampler.join();
    }
}

double CStolenTime::StolenMilliseconds(int processor, std::int64_t fromNanoseconds,
                                       std::int64_t toNanoseconds) const {
    if (samples.empty() || processor < 0) {
        return 0;
    }
    const auto before = std::find_if(samples.rbegin(), samples.rend(),
                                     [&](const Sample& s) { return s.at <= fromNanoseconds; });
    const auto after = std::find_if(samples.begin(), samples.end(),
                                    [&](const Sample& s) { return s.at >= toNanoseconds; });
    const Sample& first = before == samples.rend() ? samples.front() : *before;
    const Sample& last = after == samples.end() ? samples.back() : *after;
    const auto index = static_cast<std::size_t>(processor);
    if (index >= first.stolenMilliseconds.size() || index >= last.stolenMilliseconds.size()) {
        return 0;
    }
    return last.stolenMilliseconds[index] - first.stolenMilliseconds[index];
}

double CStolenTime::TotalMilliseconds() const {
    if (samples.size() < 2) {
        return 0;
    }
    double total = 0;
    for (std::size_t i = 0; i < samples.back().stolenMilliseconds.size() &&
                            i < samples.front().stolenMilliseconds.size();
         ++i) {
        total += samples.back().stolenMilliseconds[i] - samples.front().stolenMilliseconds[i];
    }
    return total;
}

double CStolenTime::LongestMilliseconds(std::int64_t windowNanoseconds) const {
    double longest = 0;
    for (std::size_t from = 0, to = 0; from < samples.size(); ++from) {
        to = std::max(to, from);
        while (to + 1 < samples.size() &&
               samples[to + 1].at - samples[from].at <= windowNanoseconds) {
            ++to;
        }
        for (std::size_t i = 0; i < samples[from].stolenMilliseconds.size() &&
                                i < samples[to].stolenMilliseconds.size();
             ++i) {
            longest = std::max(
                longest, samples[to].stolenMilliseconds[i] - samples[from].stolenMilliseconds[i]);
        }
    }
    return longest;
}

void PrintStallsBeside(const CStolenTime& steal, const std::vector<std::int64_t>& lateNanoseconds,
                       const std::vector<std::int64_t>& atNanoseconds,
                       const std::vector<int>& processors) {
    if (!steal.Available()) {
        std::printf("the kernel counts no stolen time here\n");
        return;
    }
    constexpr std::int64_t kStall = 1000000;
    // The kernel's steal moves in hundredths of a second: the window reaches one tick either side.
    constexpr std::int64_t kTick = 10000000;
    // A stall makes a run of late edges: the one it fell before, and those that regain the
    // timeline after it. The run is one stall, found in the milliseconds before its first edge.
    int stalls = 0;
    int stolen = 0;
    int lateEdges = 0;
    double worstUnexplained = 0;
    for (std::size_t i = 0; i < lateNanoseconds.size(); ++i) {
        if (lateNanoseconds[i] <= kStall) {
            continue;
        }
        const std::size_t first = i;
        while (i + 1 < lateNanoseconds.size() && lateNanoseconds[i + 1] > kStall) {
            ++i;
        }
        ++stalls;
        lateEdges += static_cast<int>(i - first + 1);
        const std::int64_t late = lateNanoseconds[first];
        const double taken = steal.StolenMilliseconds(
            processors[first], atNanoseconds[first] - late - kTick, atNanoseconds[first] + kTick);
        constexpr int kListed = 12;
        if (stalls <= kListed) {
            std::printf(
                "  stall %d: %.1f ms late on processor %d, %zu edges to regain the "
                "timeline; the host took %.0f ms of that processor around it\n",
                stalls, static_cast<double>(late) / 1e6, processors[first], i - first + 1, taken);
        }
        if (taken >= static_cast<double>(late) / 2e6) {
            ++stolen;
        } else {
            worstUnexplained = std::max(worstUnexplained, static_cast<double>(late) / 1e6);
        }
    }
    std::printf(
        "host: %.0f ms stolen from the processors in the run; stalls of over 1 ms: %d "
        "(%d edges late), %d of them while the host held the processor",
        steal.TotalMilliseconds(), stalls, lateEdges, stolen);
    if (stolen < stalls) {
        std::printf(" (worst of the others %.1f ms)", worstUnexplained);
    }
    std::printf("\n");
}
