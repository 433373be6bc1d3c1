// Overshoot of CDelayTimer::Wait on the real clock: how late each wait ends.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "output/CDelayTimer.h"

int main(int argc, char** argv) {
    const int waits = argc > 1 ? std::stoi(argv[1]) : 200;
    CDelayTimer timer;
    std::printf("CDelayTimer::Wait overshoot, %d waits per duration\n", waits);
    for (const int milliseconds : {1, 3, 10, 30, 60, 120}) {
        std::vector<double> overshoot;
        overshoot.reserve(static_cast<std::size_t>(waits));
        const auto nominal = std::chrono::milliseconds(milliseconds);
        for (int i = 0; i < waits; ++i) {
            const auto start = std::chrono::steady_clock::now();
            timer.Wait(milliseconds * 10000);
            const auto elapsed = std::chrono::steady_clock::now() - start;
            overshoot.push_back(
                std::chrono::duration<double, std::micro>(elapsed - nominal).count());
        }
        PrintSummary(std::to_string(milliseconds) + " ms", Summarize(overshoot), "us");
    }
    return 0;
}
