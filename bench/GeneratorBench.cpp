// Time to generate one 300-character text with the default sets, per text kind.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "text/CMorseText.h"

int main(int argc, char** argv) {
    const int texts = argc > 1 ? std::stoi(argv[1]) : 200;
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::string digits = "1234567890";
    const char* names[] = {"letters", "digits", "mixed", "cipher"};
    const std::string sets[] = {letters, digits, letters + digits, letters + digits};
    std::printf("CMorseText::Generate, %d texts per kind\n", texts);
    std::size_t checksum = 0;
    for (int kind = 0; kind < 4; ++kind) {
        std::vector<double> times;
        for (int i = 0; i < texts; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const std::string text =
                CMorseText::Generate(sets[kind], kind, static_cast<std::uint32_t>(i));
            const auto elapsed = std::chrono::steady_clock::now() - start;
            checksum += text.size();
            times.push_back(std::chrono::duration<double, std::micro>(elapsed).count());
        }
        PrintSummary(names[kind], Summarize(times), "us per text");
    }
    std::printf("(%zu characters generated)\n", checksum);
    return 0;
}
