#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/SoundFile.h"
#include "output/CSoundCardOutput.h"
#include "tests/support/CToneDecoder.h"

namespace {

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    }
    return value;
}

std::vector<float> Samples(const std::string& wav) {
    std::vector<float> samples;
    for (std::size_t at = 44; at + 1 < wav.size(); at += 2) {
        samples.push_back(static_cast<float>(static_cast<std::int16_t>(Little(wav, at, 2))) /
                          32767.0F);
    }
    return samples;
}

// The exported file is a 44.1 kHz mono 16-bit WAV that decodes, by ear as it were, to the text
// with its signs, every element within a sample of the model's place and length.
TEST(SoundFile, DecodesToTheTextWithExactLengths) {
    CMorseText text;
    text.SetText("CQ DE OK1 5NN");
    text.SetKind(kMixedText);
    const CTransmissionTimeline timeline(text, 120, 120, 3.3);
    const std::string wav = soundfile::RenderWav(timeline, 650, 0.8F);
    ASSERT_GT(wav.size(), 44U);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Little(wav, 20, 2), 1U);      // PCM
    EXPECT_EQ(Little(wav, 22, 2), 1U);      // mono
    EXPECT_EQ(Little(wav, 24, 4), 44100U);  // rate
    EXPECT_EQ(Little(wav, 34, 2), 16U);     // bits
    EXPECT_EQ(Little(wav, 40, 4), wav.size() - 44);
    EXPECT_EQ(Little(wav, 4, 4), wav.size() - 8);

    const std::vector<float> samples = Samples(wav);
    const auto elements = CToneDecoder(650, 44100).FindElements(samples);
    EXPECT_EQ(CToneDecoder::Decode(elements), "= CQ DE OK1 5NN+");
    const auto& tones = timeline.Tones();
    ASSERT_EQ(elements.size(), tones.size());
    for (std::size_t i = 0; i < tones.size(); ++i) {
        const double start = static_cast<double>(soundfile::kLeadInSamples +
                                                 CSoundCardOutput::SamplesFor(tones[i].startUnits));
        const double end = static_cast<double>(
            soundfile::kLeadInSamples +
            CSoundCardOutput::SamplesFor(tones[i].startUnits + tones[i].lengthUnits));
        EXPECT_NEAR(elements[i].onset, start, 1.0) << i;
        EXPECT_NEAR(elements[i].end, end, 1.0) << i;
    }
    // The level is the gain's: 0.8 of full scale at the peaks.
    float peak = 0;
    for (const float s : samples) {
        peak = std::max(peak, s);
    }
    EXPECT_NEAR(peak, 0.8F, 0.01F);

    // A slow text speed stretches only the gaps; every element still lies on its sample.
    const CTransmissionTimeline slow(text, 60, 20, 3.0);
    const auto slowElements =
        CToneDecoder(650, 44100).FindElements(Samples(soundfile::RenderWav(slow, 650, 1.0F)));
    ASSERT_EQ(slowElements.size(), slow.Tones().size());
    for (std::size_t i = 0; i < slowElements.size(); ++i) {
        const auto& tone = slow.Tones()[i];
        EXPECT_NEAR(slowElements[i].onset,
                    static_cast<double>(soundfile::kLeadInSamples +
                                        CSoundCardOutput::SamplesFor(tone.startUnits)),
                    1.0)
            << i;
    }
}

}  // namespace
