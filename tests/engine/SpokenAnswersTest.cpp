#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/SoundFile.h"
#include "engine/SoundFileFormats.h"
#include "engine/SpokenAnswers.h"
#include "output/CSoundCardOutput.h"
#include "output/CSpeech.h"
#include "tests/support/CToneDecoder.h"

namespace {

// A voice easy to find again: a steady level for a third of a second.
constexpr float kVoiceLevel = 0.25F;
constexpr std::size_t kVoiceSamples = 14700;

struct VoiceRun {
    std::size_t start;
    std::size_t length;
};

// The stretches of the marker voice's level.
std::vector<VoiceRun> VoiceRunsOf(const std::vector<std::int16_t>& samples) {
    const auto level = static_cast<std::int16_t>(std::lround(kVoiceLevel * 32767.0F));
    std::vector<VoiceRun> runs;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] == level && (i == 0 || samples[i - 1] != level)) {
            runs.push_back({i, 0});
        }
        if (samples[i] == level) {
            ++runs.back().length;
        }
    }
    return runs;
}

// Each word is followed by its answer after the pause before it, the next word follows after the
// pause after it, and the Morse itself is heard as before.
TEST(SpokenAnswers, EachWordIsAnsweredBetweenItsPauses) {
    CMorseText text;
    text.SetText("CQ DE OK1 5NN");
    text.SetKind(kMixedText);
    const CTransmissionTimeline timeline(text, 150, 150, 3.0);
    const std::vector<std::int16_t> morse =
        soundfile::SamplesOfWav(soundfile::RenderWav(timeline, 700, 0.8F));
    std::vector<std::string> spoken;
    const soundfile::SpokenAnswers pauses{0.5, 1.0};
    const std::vector<std::int16_t> answered = soundfile::WithSpokenWords(
        morse, timeline, text.GetText(), pauses, [&spoken](const std::string& word) {
            spoken.push_back(word);
            return std::vector<float>(kVoiceSamples, kVoiceLevel);
        });
    EXPECT_EQ(spoken, (std::vector<std::string>{"CQ", "DE", "OK1", "5NN"}));
    EXPECT_EQ(answered.size(), morse.size() + 4 * (22050 + kVoiceSamples + 44100));

    const std::vector<VoiceRun> runs = VoiceRunsOf(answered);
    ASSERT_EQ(runs.size(), 4U);
    std::vector<float> floats(answered.size());
    for (std::size_t i = 0; i < answered.size(); ++i) {
        // The answers out of the way of the tone decoder.
        floats[i] = static_cast<float>(answered[i]) / 32768.0F;
    }
    for (const VoiceRun& run : runs) {
        EXPECT_EQ(run.length, kVoiceSamples);
        std::fill_n(floats.begin() + static_cast<std::ptrdiff_t>(run.start), run.length, 0.0F);
    }
    const auto elements = CToneDecoder(700, 44100).FindElements(floats);
    // The last word's answer stands between it and the end sign.
    EXPECT_EQ(CToneDecoder::Decode(elements), "= CQ DE OK1 5NN +");
    // Around every answer: silence for the pauses, the word before, the next word after.
    for (const VoiceRun& run : runs) {
        double before = 0;
        double after = 1e18;
        for (const auto& element : elements) {
            if (element.end <= static_cast<double>(run.start)) {
                before = std::max(before, element.end);
            } else if (element.onset >= static_cast<double>(run.start)) {
                after = std::min(after, element.onset);
            }
        }
        EXPECT_GE(static_cast<double>(run.start) - before, 22050.0);
        EXPECT_LE(static_cast<double>(run.start) - before, 22050.0 + 600);
        EXPECT_GE(after - static_cast<double>(run.start + run.length), 44100.0);
    }
}

// The real voice says something of a sensible length in both languages, at its level.
TEST(SpokenAnswers, TheSynthesiserSpeaksBothLanguages) {
    for (const auto language : {CSpeech::Language::Czech, CSpeech::Language::English}) {
        const std::vector<float> group = CSpeech::Speak("KMR5", language, true);
        const std::vector<float> word = CSpeech::Speak("DOBRY DEN", language, false);
        ASSERT_FALSE(group.empty());
        ASSERT_FALSE(word.empty());
        // Four names of characters take more than half a second, and not ten.
        EXPECT_GT(group.size(), 22050U);
        EXPECT_LT(group.size(), 10U * 44100U);
        float peak = 0;
        for (const float s : group) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_NEAR(peak, 0.5F, 0.01F);
    }
}

}  // namespace
