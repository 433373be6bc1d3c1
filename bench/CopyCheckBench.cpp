// Time to check a copy against the text sent, as the copy check window does it: the group-aware
// alignment, the marks, the score, the confusions and the layout of the marks. Three sizes: 300
// sent against about 300 copied (a lesson or generated text), the same with whole groups missed
// and added, and the longest texts compared (2000 characters against 2000).
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "text/CMorseText.h"
#include "training/CCopyCheck.h"
#include "training/CCopyCheckLayout.h"

namespace {

// A copy with about one slip in ten: wrong, missed, extra and swapped characters, and with
// `groupSlips` also a group missed whole or one added now and then.
std::string Copy(const std::string& sent, std::mt19937& random, bool groupSlips) {
    std::string copied;
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const char c = sent[i];
        if (groupSlips && c == ' ' && random() % 12 == 0) {
            // Skip the next group, or add one.
            if (random() % 2 == 0) {
                const std::size_t next = sent.find(' ', i + 1);
                i = next == std::string::npos ? sent.size() : next - 1;
                continue;
            }
            copied += " EEEEE";
        }
        const unsigned roll = random() % 40;
        if (roll == 0) {
            copied += static_cast<char>('A' + random() % 26);
        } else if (roll == 1) {
            continue;
        } else if (roll == 2) {
            copied += c;
            copied += 'E';
        } else if (roll == 3 && !copied.empty() && copied.back() != ' ' && c != ' ') {
            copied.insert(copied.end() - 1, c);
        } else {
            copied += c;
        }
    }
    return copied;
}

void Run(const char* name, int checks, std::size_t length, bool groupSlips) {
    std::mt19937 random(5);
    std::vector<double> times;
    std::vector<double> layoutTimes;
    long long errors = 0;
    for (int i = 0; i < checks; ++i) {
        std::string sent;
        for (std::uint32_t part = 0; sent.size() < length; ++part) {
            sent += CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0,
                                         static_cast<std::uint32_t>(i) * 100 + part) +
                    " ";
        }
        sent.resize(length);
        const std::string copied = Copy(sent, random, groupSlips);
        const auto start = std::chrono::steady_clock::now();
        const CCopyCheck check(sent, copied);
        const auto confusions = check.Confusions();
        const auto checked = std::chrono::steady_clock::now();
        const CCopyCheckLayout layout(sent, check, {5, 15, 5, 4, 10});
        const auto laid = std::chrono::steady_clock::now();
        errors += check.ErrorCount() + static_cast<long long>(confusions.size()) +
                  static_cast<long long>(layout.Items().size() > 0);
        times.push_back(std::chrono::duration<double, std::milli>(checked - start).count());
        layoutTimes.push_back(std::chrono::duration<double, std::milli>(laid - checked).count());
    }
    std::printf("%s, %d checks\n", name, checks);
    PrintSummary("check", Summarize(times), "ms per check (goal: well under 50 ms)");
    PrintSummary("layout", Summarize(layoutTimes), "ms per layout of the marks");
    std::printf("(%lld errors, confusions and layouts found)\n", errors);
}

}  // namespace

int main(int argc, char** argv) {
    const int checks = argc > 1 ? std::stoi(argv[1]) : 200;
    Run("CCopyCheck, 300 sent against about 300 copied", checks, 300, false);
    Run("CCopyCheck, 300 sent against about 300 copied, groups missed and added", checks, 300,
        true);
    Run("CCopyCheck, 2000 sent against about 2000 copied", std::max(1, checks / 10), 2000, true);
    return 0;
}
