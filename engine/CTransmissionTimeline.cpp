#include "engine/CTransmissionTimeline.h"

#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CStepCorrection.h"

CTransmissionTimeline::CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed,
                                             double dashRatio)
    : ratio(dashRatio) {
    const TimingValues timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    dot = timing.dotUnits;
    spacing = timing.spacingUnits;
    const bool eachSpaceIsGap = text.GetKind() == kCustomText;
    const std::string elements = text.ToElements();

    Character(kStartSign);
    Gap(TruncateUnits(7 * spacing - dot));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const char symbol = elements[i];
        if (symbol == '.' || symbol == '-') {
            tones.push_back({endUnits, TruncateUnits(symbol == '.' ? dot : ratio * dot)});
            endUnits += tones.back().lengthUnits;
            Gap(TruncateUnits(dot));
        } else if (symbol == 'm') {
            Gap(TruncateUnits(3 * spacing - dot));
        } else if (symbol == ' ') {
            std::size_t run = 1;
            while (i + 1 < elements.size() && elements[i + 1] == ' ') {
                ++run;
                ++i;
            }
            Gap(TruncateUnits(4 * spacing));
            for (std::size_t further = 1; eachSpaceIsGap && further < run; ++further) {
                Gap(TruncateUnits(7 * spacing));
            }
        }
    }
    Character(kEndSign);
}

void CTransmissionTimeline::Character(char character) {
    for (const char element : CMorseTable::CodeOf(character, false)) {
        tones.push_back({endUnits, TruncateUnits(element == '.' ? dot : ratio * dot)});
        endUnits += tones.back().lengthUnits;
        Gap(TruncateUnits(dot));
    }
}
