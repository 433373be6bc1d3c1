// Time for brumlo-export to plan a long text into files of ten minutes each, per text size: the
// plan must grow with the text, not with its square (goal: 10 MB of text in under 2 s).
#include <chrono>
#include <cstdio>
#include <string>

#include "session/CourseExport.h"

namespace {

// Groups of five letters parted by spaces, `characters` long, the same for every run.
std::string GroupText(std::size_t characters) {
    std::string text;
    text.reserve(characters);
    std::uint32_t state = 12345;
    while (text.size() < characters) {
        if (text.size() % 6 == 5) {
            text.push_back(' ');
            continue;
        }
        state = state * 1664525U + 1013904223U;
        text.push_back(static_cast<char>('A' + (state >> 24) % 26));
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t largest = argc > 1 ? std::stoul(argv[1]) : 10'000'000;
    ExportOptions options;
    options.splitMinutes = 10;
    options.output = "plan.wav";
    std::printf("PlanExport into files of %.0f minutes, %d/%d cpm\n", options.splitMinutes,
                options.signSpeed, options.textSpeed);
    double lastSeconds = 0;
    for (std::size_t size = 200'000; size <= largest; size *= 2) {
        const std::string text = GroupText(size);
        std::string error;
        const auto start = std::chrono::steady_clock::now();
        const auto planned = PlanExport(options, text, error);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%9zu characters: %6zu files in %7.3f s\n", size, planned ? planned->size() : 0,
                    seconds);
        lastSeconds = seconds;
    }
    const std::string text = GroupText(largest);
    std::string error;
    const auto start = std::chrono::steady_clock::now();
    const auto planned = PlanExport(options, text, error);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%9zu characters: %6zu files in %7.3f s (goal: 10 MB under 2 s)\n", largest,
                planned ? planned->size() : 0, seconds);
    return lastSeconds >= 0 && planned ? 0 : 1;
}
