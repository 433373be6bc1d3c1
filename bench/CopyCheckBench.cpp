// Time to check a copy of 300 characters against the 300 sent: the edit-distance alignment, the
// marks, the score and the confusions, as the copy check window does it.
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "text/CMorseText.h"
#include "training/CCopyCheck.h"

int main(int argc, char** argv) {
    const int checks = argc > 1 ? std::stoi(argv[1]) : 200;
    std::mt19937 random(5);
    std::vector<double> times;
    long long errors = 0;
    for (int i = 0; i < checks; ++i) {
        const std::string sent =
            CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, static_cast<std::uint32_t>(i));
        // A copy with about one slip in ten: wrong, missed and extra characters.
        std::string copied;
        for (const char c : sent) {
            const unsigned roll = random() % 30;
            if (roll == 0) {
                copied += static_cast<char>('A' + random() % 26);
            } else if (roll == 1) {
                continue;
            } else if (roll == 2) {
                copied += c;
                copied += 'E';
            } else {
                copied += c;
            }
        }
        const auto start = std::chrono::steady_clock::now();
        const CCopyCheck check(sent, copied);
        const auto confusions = check.Confusions();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        errors += check.ErrorCount() + static_cast<long long>(confusions.size());
        times.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
    }
    std::printf("CCopyCheck, 300 sent against about 300 copied, %d checks\n", checks);
    PrintSummary("check", Summarize(times), "ms per check (goal: well under 50 ms)");
    std::printf("(%lld errors and confusions found)\n", errors);
    return 0;
}
