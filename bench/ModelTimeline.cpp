#include "bench/ModelTimeline.h"

#include "core/CMorseTable.h"
#include "core/Timing.h"

std::vector<ModelElement> ModelTimeline(const std::string& text, int signSpeed, int textSpeed,
                                        double dashRatio) {
    const TimingValues t = ComputeTiming(signSpeed, textSpeed, dashRatio);
    const auto units = [](double value) { return static_cast<std::int64_t>(value); };
    const std::int64_t dot = units(t.dotUnits);
    const std::int64_t dash = units(DashUnits(t, dashRatio));
    const std::int64_t elementGap = units(ElementGapUnits(t));
    std::vector<ModelElement> model;
    std::int64_t at = 0;
    const auto sign = [&](char c) {
        for (const char element : CMorseTable::CodeOf(c, false)) {
            const std::int64_t length = element == '.' ? dot : dash;
            model.push_back({at, length});
            at += length + elementGap;
        }
    };
    sign('=');
    at += units(StartSignGapUnits(t));
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ') {
            // A run of spaces in a generated text is one word gap.
            at += units(WordGapUnits(t));
            while (i + 1 < text.size() && text[i + 1] == ' ') {
                ++i;
            }
            continue;
        }
        sign(text[i]);
        at += units(CharacterGapUnits(t));
    }
    sign('+');
    return model;
}

double ModelSeconds(const std::vector<ModelElement>& timeline) {
    return timeline.empty()
               ? 0.0
               : static_cast<double>(timeline.back().startUnits + timeline.back().lengthUnits) /
                     1e7;
}
