#include "engine/CTransmissionTimeline.h"

#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CStepCorrection.h"

CTransmissionTimeline::CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed,
                                             double dashRatio)
    : ratio(dashRatio) {
    timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    const bool eachSpaceIsGap = text.GetKind() == kCustomText;
    const std::string elements = text.ToElements();

    Character(kStartSign);
    Gap(TruncateUnits(StartSignGapUnits(timing)));
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const char symbol = elements[i];
        if (symbol == '.' || symbol == '-') {
            Element(symbol);
        } else if (symbol == 'm') {
            Gap(TruncateUnits(CharacterGapUnits(timing)));
        } else if (symbol == ' ') {
            std::size_t run = 1;
            while (i + 1 < elements.size() && elements[i + 1] == ' ') {
                ++run;
                ++i;
            }
            Gap(TruncateUnits(WordGapUnits(timing)));
            for (std::size_t further = 1; eachSpaceIsGap && further < run; ++further) {
                Gap(TruncateUnits(FurtherSpaceUnits(timing)));
            }
        }
    }
    Character(kEndSign);
}

void CTransmissionTimeline::Character(char character) {
    for (const char element : CMorseTable::CodeOf(character, false)) {
        Element(element);
    }
}

void CTransmissionTimeline::Element(char symbol) {
    tones.push_back(
        {endUnits, TruncateUnits(symbol == '.' ? timing.dotUnits : DashUnits(timing, ratio))});
    endUnits += tones.back().lengthUnits;
    Gap(TruncateUnits(ElementGapUnits(timing)));
}
