#include "engine/SpokenAnswers.h"

#include <algorithm>
#include <cmath>

#include "core/CMorseTable.h"
#include "engine/SoundFile.h"
#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"

namespace soundfile {

namespace {

// How long after a word's last tone its answer may begin: the tone's release has died away.
constexpr std::int64_t kReleaseSamples = CToneRenderer::kSampleRate / 100;

std::int64_t Samples(double seconds) {
    return static_cast<std::int64_t>(std::lround(seconds * CToneRenderer::kSampleRate));
}

std::int16_t Rounded(float sample) {
    return static_cast<std::int16_t>(
        std::lround(std::clamp(sample * 32767.0F, -32768.0F, 32767.0F)));
}

}  // namespace

std::vector<std::int16_t> WithSpokenWords(std::span<const std::int16_t> morse,
                                          const CTransmissionTimeline& timeline,
                                          std::string_view text, const SpokenAnswers& pauses,
                                          const Voice& voice) {
    const auto& tones = timeline.Tones();
    // Each word's last tone, counted past the start sign's.
    struct Word {
        std::string text;
        std::size_t lastTone;
    };
    std::vector<Word> words;
    std::size_t tone = CMorseTable::CodeOf(CTransmissionTimeline::kStartSign, false).size();
    std::string current;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (c != ' ') {
            current += c;
            tone += CMorseTable::CodeOf(c, false).size();
        } else if (!current.empty()) {
            words.push_back({current, tone - 1});
            current.clear();
        }
    }
    const std::size_t endSign = CMorseTable::CodeOf(CTransmissionTimeline::kEndSign, false).size();
    if (tones.size() != tone + endSign) {
        return {morse.begin(), morse.end()};
    }
    std::vector<std::int16_t> result;
    result.reserve(morse.size());
    std::size_t copied = 0;
    for (const Word& word : words) {
        const CTransmissionTimeline::Tone& last = tones[word.lastTone];
        const CTransmissionTimeline::Tone& next = tones[word.lastTone + 1];
        const std::int64_t end =
            kLeadInSamples + CSoundCardOutput::SamplesFor(last.startUnits + last.lengthUnits);
        const std::int64_t nextStart =
            kLeadInSamples + CSoundCardOutput::SamplesFor(next.startUnits);
        const auto cut = static_cast<std::size_t>(
            std::clamp<std::int64_t>(std::min(end + kReleaseSamples, nextStart), 0,
                                     static_cast<std::int64_t>(morse.size())));
        const std::vector<float> said = voice(word.text);
        if (said.empty()) {
            continue;
        }
        result.insert(result.end(), morse.begin() + static_cast<std::ptrdiff_t>(copied),
                      morse.begin() + static_cast<std::ptrdiff_t>(cut));
        copied = cut;
        result.insert(result.end(), static_cast<std::size_t>(Samples(pauses.beforeSeconds)), 0);
        for (const float s : said) {
            result.push_back(Rounded(s));
        }
        result.insert(result.end(), static_cast<std::size_t>(Samples(pauses.afterSeconds)), 0);
    }
    result.insert(result.end(), morse.begin() + static_cast<std::ptrdiff_t>(copied), morse.end());
    return result;
}

}  // namespace soundfile
