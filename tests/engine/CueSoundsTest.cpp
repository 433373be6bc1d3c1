#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/Timing.h"
#include "engine/CueSounds.h"
#include "output/CToneRenderer.h"
#include "tests/support/CToneDecoder.h"
#include "tests/support/CaseName.h"

namespace {

constexpr double kRate = CToneRenderer::kSampleRate;
constexpr double kHalfEdge = CToneRenderer::kRampSamples / 2.0;

struct TextCase {
    const char* name;
    const char* text;
    int signSpeed;
    int textSpeed;
    int toneHz;
    double ratio;
    const char* heard;  // as the decoder spells it
};

class CueText : public testing::TestWithParam<TextCase> {};

// The sound is the text alone (no start or end sign), its first sample the first element's
// rising edge and its last sample the end of the last element's falling edge, at the dot length
// of the speeds asked for and the gain asked for.
TEST_P(CueText, IsTheTextAloneFromFirstEdgeToLastEdge) {
    const TextCase& c = GetParam();
    const std::vector<float> samples =
        cuesounds::RenderText(c.text, c.signSpeed, c.textSpeed, c.toneHz, c.ratio, 0.6F);
    ASSERT_FALSE(samples.empty());
    // The decoder's averaging needs room on either side: it hears the sound amid silence.
    constexpr std::size_t kRoom = 2000;
    std::vector<float> heard(kRoom, 0.0F);
    heard.insert(heard.end(), samples.begin(), samples.end());
    heard.resize(heard.size() + kRoom, 0.0F);
    auto elements = CToneDecoder(c.toneHz, kRate).FindElements(heard);
    for (auto& element : elements) {
        element.onset -= kRoom;
        element.end -= kRoom;
    }
    ASSERT_FALSE(elements.empty());
    const double dotSamples = ComputeTiming(c.signSpeed, c.textSpeed, c.ratio).dotSeconds * kRate;
    EXPECT_EQ(CToneDecoder::Decode(elements, dotSamples), c.heard);
    EXPECT_NEAR(elements.front().onset, kHalfEdge, 2.0);
    EXPECT_NEAR(elements.back().end, static_cast<double>(samples.size()) - kHalfEdge, 2.0);
    // Every element is a dot or a dash of the speeds asked for.
    for (const auto& element : elements) {
        const double length = element.end - element.onset;
        EXPECT_LE(std::min(std::abs(length - dotSamples), std::abs(length - c.ratio * dotSamples)),
                  2.0)
            << length;
    }
    float peak = 0.0F;
    for (const float s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    EXPECT_NEAR(peak, 0.6F, 0.01F);
    EXPECT_LT(std::abs(samples.front()), 0.01F);
    EXPECT_LT(std::abs(samples.back()), 0.01F);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CueText,
    testing::Values(TextCase{"OneDot", "e", 100, 100, 600, 3.0, "E"},
                    TextCase{"LongDigitFast", "0", 250, 250, 750, 3.0, "0"},
                    TextCase{"SignWithSlowText", "?", 150, 40, 500, 3.5, "?"},
                    TextCase{"Callsign", "OK1ABC", 180, 180, 650, 3.0, "OK1ABC"},
                    TextCase{"PortableCallsign", "DL/OK1ABC/P", 200, 200, 700, 3.0, "DL/OK1ABC/P"},
                    TextCase{"TwoWords", "CQ DE", 120, 100, 600, 3.0, "CQ DE"}),
    CaseName());

TEST(CueText, NothingToKeyIsNoSound) {
    EXPECT_TRUE(cuesounds::RenderText("", 100, 100, 600, 3.0, 0.5F).empty());
    EXPECT_TRUE(cuesounds::RenderText("   ", 100, 100, 600, 3.0, 0.5F).empty());
}

// The wrong answer's tone: about 150 ms at its own pitch, quieter than the characters.
TEST(CueWrongTone, IsShortLowAndQuiet) {
    for (const float gain : {1.0F, 0.4F}) {
        std::vector<float> samples(2000, 0.0F);
        const std::vector<float> tone = cuesounds::WrongAnswerTone(gain);
        samples.insert(samples.end(), tone.begin(), tone.end());
        samples.resize(samples.size() + 2000, 0.0F);
        const auto elements = CToneDecoder(cuesounds::kWrongToneHz, kRate).FindElements(samples);
        ASSERT_EQ(elements.size(), 1U);
        EXPECT_NEAR((elements[0].end - elements[0].onset) / kRate * 1000.0, 150.0, 2.0);
        // Its pitch from the rising zero crossings over the steady part.
        int crossings = 0;
        const auto from = static_cast<std::size_t>(elements[0].onset + kHalfEdge);
        const auto to = static_cast<std::size_t>(elements[0].end - kHalfEdge);
        for (std::size_t n = from + 1; n < to; ++n) {
            crossings += samples[n - 1] < 0.0F && samples[n] >= 0.0F ? 1 : 0;
        }
        EXPECT_NEAR(crossings / (static_cast<double>(to - from) / kRate),
                    static_cast<double>(cuesounds::kWrongToneHz), 10.0);
        float peak = 0.0F;
        for (const float s : samples) {
            peak = std::max(peak, std::abs(s));
        }
        EXPECT_GT(peak, 0.2F * gain);
        EXPECT_LT(peak, 0.5F * gain);
    }
}

}  // namespace
