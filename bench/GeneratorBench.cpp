// Time to generate one 300-character text with the default sets, per text kind.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/Statistics.h"
#include "text/CMorseText.h"
#include "training/CCharacterWeights.h"
#include "training/CKochCourse.h"

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
    // A lesson text (first, middle and last lesson), and letters weighted by a history in which
    // every letter was seen and some were copied wrong.
    for (const int lesson : {1, 20, 38}) {
        const CKochCourse course(CKochCourse::DefaultOrder(), lesson);
        const std::string set = course.DrawingSet();
        std::vector<double> times;
        for (int i = 0; i < texts; ++i) {
            const auto start = std::chrono::steady_clock::now();
            checksum += course.Generate(set, static_cast<std::uint32_t>(i)).size();
            const auto elapsed = std::chrono::steady_clock::now() - start;
            times.push_back(std::chrono::duration<double, std::micro>(elapsed).count());
        }
        PrintSummary("lesson " + std::to_string(lesson), Summarize(times), "us per text");
    }
    CheckRecord record;
    for (const char c : letters) {
        record.characters[c] = {40, (c - 'A') % 5};
    }
    const CCharacterWeights weights({record});
    std::vector<double> times;
    for (int i = 0; i < texts; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::string weighted = weights.Weighted(letters);
        checksum += CMorseText::Generate(weighted, 0, static_cast<std::uint32_t>(i)).size();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        times.push_back(std::chrono::duration<double, std::micro>(elapsed).count());
    }
    PrintSummary("weak letters", Summarize(times), "us per text (weights and draw)");
    std::printf("(%zu characters generated)\n", checksum);
    return 0;
}
