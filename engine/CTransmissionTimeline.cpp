#include "engine/CTransmissionTimeline.h"

#include <algorithm>
#include <utility>

#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CStepCorrection.h"

CTransmissionTimeline::CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed,
                                             double dashRatio)
    : ratio(dashRatio) {
    timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    Build(text);
}

CTransmissionTimeline::CTransmissionTimeline(CMorseText text, int signSpeed, int textSpeed,
                                             double dashRatio, CFist keyingFist)
    : ratio(dashRatio), fist(keyingFist) {
    timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    Build(text);
}

CTransmissionTimeline::CTransmissionTimeline(CMorseText text, const std::vector<Speeds>& wordSpeeds,
                                             double dashRatio, std::optional<CFist> keyingFist)
    : ratio(dashRatio), fist(keyingFist), speedsOfWords(wordSpeeds) {
    const Speeds first = wordSpeeds.empty() ? Speeds{100, 100} : wordSpeeds.front();
    timing = ComputeTiming(first.sign, first.text, dashRatio);
    Build(text);
}

CTransmissionTimeline::CTransmissionTimeline(NoSigns, CMorseText text, int signSpeed, int textSpeed,
                                             double dashRatio, std::optional<CFist> keyingFist)
    : ratio(dashRatio), fist(std::move(keyingFist)), signs(false) {
    timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    Build(text);
}

CTransmissionTimeline CTransmissionTimeline::WithoutSigns(CMorseText text, int signSpeed,
                                                          int textSpeed, double dashRatio,
                                                          std::optional<CFist> keyingFist) {
    return CTransmissionTimeline(NoSigns{}, std::move(text), signSpeed, textSpeed, dashRatio,
                                 std::move(keyingFist));
}

std::int32_t CTransmissionTimeline::Keyed(KeyInterval interval, double modelUnits) {
    return TruncateUnits(fist ? fist->Shape(interval, modelUnits, timing.dotUnits) : modelUnits);
}

void CTransmissionTimeline::Build(CMorseText& text) {
    const bool eachSpaceIsGap = text.GetKind() == kCustomText;
    const std::string elements = text.ToElements();

    if (signs) {
        Character(kStartSign);
        Gap(Keyed(KeyInterval::kStartSignGap, StartSignGapUnits(timing)));
    }
    std::size_t word = 0;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const char symbol = elements[i];
        if (symbol == '.' || symbol == '-') {
            Element(symbol);
        } else if (symbol == 'm') {
            Gap(Keyed(KeyInterval::kCharacterGap, CharacterGapUnits(timing)));
        } else if (symbol == ' ') {
            std::size_t run = 1;
            while (i + 1 < elements.size() && elements[i + 1] == ' ') {
                ++run;
                ++i;
            }
            Gap(Keyed(KeyInterval::kWordGap, WordGapUnits(timing)));
            for (std::size_t further = 1; eachSpaceIsGap && further < run; ++further) {
                Gap(Keyed(KeyInterval::kFurtherSpace, FurtherSpaceUnits(timing)));
            }
            // The next word at its own speeds.
            ++word;
            if (!speedsOfWords.empty()) {
                const Speeds next = speedsOfWords[std::min(word, speedsOfWords.size() - 1)];
                timing = ComputeTiming(next.sign, next.text, ratio);
            }
        }
    }
    if (signs) {
        Character(kEndSign);
    }
}

void CTransmissionTimeline::Character(char character) {
    for (const char element : CMorseTable::CodeOf(character, false)) {
        Element(element);
    }
}

void CTransmissionTimeline::Element(char symbol) {
    tones.push_back({endUnits, symbol == '.'
                                   ? Keyed(KeyInterval::kDot, timing.dotUnits)
                                   : Keyed(KeyInterval::kDash, DashUnits(timing, ratio))});
    endUnits += tones.back().lengthUnits;
    Gap(Keyed(KeyInterval::kElementGap, ElementGapUnits(timing)));
}
