// brumlo-export: renders a practice text to sound files without a window.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/ExportArguments.h"
#include "session/CourseExport.h"
#include "text/TextFile.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const ExportArguments parsed = ParseExportArguments(arguments);
    if (parsed.help) {
        std::fputs(ExportUsage().c_str(), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "brumlo-export: %s\n", parsed.error.c_str());
        std::fputs(ExportUsage().c_str(), stderr);
        return 2;
    }
    // Without a seed, one drawn now gives both the text and its sound.
    ExportOptions options = *parsed.options;
    if (!options.seed) {
        options.seed =
            static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    std::string error;
    const std::optional<std::string> text = ExportText(options, error);
    if (!text) {
        std::fprintf(stderr, "brumlo-export: %s\n", error.c_str());
        return 1;
    }
    const auto files = PlanExport(options, *text, error);
    if (!files) {
        std::fprintf(stderr, "brumlo-export: %s\n", error.c_str());
        return 1;
    }
    // One file at a time, each written whole or not at all.
    for (const ExportFile& file : *files) {
        const auto bytes = RenderExportFile(options, file, error);
        if (!bytes) {
            std::fprintf(stderr, "brumlo-export: cannot encode the sound: %s\n", error.c_str());
            return 1;
        }
        if (!WriteFileBytes(file.path, *bytes, false)) {
            std::fprintf(stderr, "brumlo-export: cannot write %s\n", file.path.c_str());
            return 1;
        }
        std::printf("%s\n", file.path.c_str());
    }
    return 0;
}
