#include <gtest/gtest.h>

#include <cmath>

#include "core/Timing.h"

#include "tests/support/CaseName.h"

namespace {

std::int32_t Trunc(double units) {
    return static_cast<std::int32_t>(units);
}

struct TimingCase {
    const char* name;
    int signSpeed;
    int textSpeed;
    double ratio;
    std::int32_t dot;
    std::int32_t dash;
    std::int32_t characterGap;
    std::int32_t wordGap;
    std::int32_t startGap;
    int effectiveText;
    int effectiveSign;
};

class TimingFigures : public testing::TestWithParam<TimingCase> {};

TEST_P(TimingFigures, DurationsAndReadOuts) {
    const TimingCase& c = GetParam();
    const TimingValues t = ComputeTiming(c.signSpeed, c.textSpeed, c.ratio);
    EXPECT_EQ(Trunc(t.dotUnits), c.dot);
    EXPECT_EQ(Trunc(DashUnits(t, c.ratio)), c.dash);
    EXPECT_EQ(Trunc(ElementGapUnits(t)), c.dot);
    EXPECT_EQ(Trunc(CharacterGapUnits(t)), c.characterGap);
    EXPECT_EQ(Trunc(WordGapUnits(t)), c.wordGap);
    EXPECT_EQ(Trunc(StartSignGapUnits(t)), c.startGap);
    // A further space of a custom text is a whole word: character and word gap together.
    EXPECT_NEAR(FurtherSpaceUnits(t), CharacterGapUnits(t) + ElementGapUnits(t) + WordGapUnits(t),
                1e-6);
    EXPECT_EQ(EffectiveTextSpeed(t, c.ratio), c.effectiveText);
    EXPECT_EQ(EffectiveSignSpeed(t, c.ratio), c.effectiveSign);
}

INSTANTIATE_TEST_SUITE_P(Figures, TimingFigures,
                         testing::Values(TimingCase{"Equal100", 100, 100, 3.0, 600000, 1800000,
                                                    1200000, 2400000, 3600000, 100, 100},
                                         TimingCase{"Equal200Ratio4", 200, 200, 4.0, 300000,
                                                    1200000, 600000, 1200000, 1800000, 185, 185},
                                         TimingCase{"Sign60Text20", 60, 20, 3.0, 1000000, 3000000,
                                                    17789473, 25052631, 42842105, 20, 60},
                                         TimingCase{"Equal100Ratio31", 100, 100, 3.1, 600000,
                                                    1860000, 1200000, 2400000, 3600000, 99, 99},
                                         TimingCase{"Equal60Ratio4", 60, 60, 4.0, 1000000, 4000000,
                                                    2000000, 4000000, 6000000, 56, 56}),
                         CaseName());

TEST(Timing, SlowTextStretchesOnlyTheSpacingUnit) {
    const TimingValues t = ComputeTiming(60, 20, 3.0);
    EXPECT_NEAR(t.spacingUnits, 6263157.894736842, 1e-6);
    const TimingValues same = ComputeTiming(100, 100, 3.5);
    EXPECT_EQ(same.spacingUnits, same.dotUnits);
}

TEST(Timing, MixedSpeedsAndRatioReadOuts) {
    const TimingValues t = ComputeTiming(150, 60, 3.5);
    EXPECT_EQ(EffectiveTextSpeed(t, 3.5), 58);
    EXPECT_EQ(EffectiveSignSpeed(t, 3.5), 144);
}

TEST(Timing, RoundHalfAwayFromZero) {
    EXPECT_EQ(RoundHalfAway(2.5, 0), 3.0);
    EXPECT_EQ(RoundHalfAway(-2.5, 0), -3.0);
    EXPECT_EQ(RoundHalfAway(2.49, 0), 2.0);
    EXPECT_EQ(RoundHalfAway(-2.49, 0), -2.0);
    EXPECT_NEAR(RoundHalfAway(1.25, 1), 1.3, 1e-12);
    EXPECT_EQ(RoundHalfAway(0.0, 0), 0.0);
}

TEST(Timing, TablesAndLabels) {
    EXPECT_EQ(kTextSpeeds.front(), 20);
    EXPECT_EQ(kTextSpeeds.back(), 200);
    EXPECT_EQ(kSignSpeeds.front(), 60);
    EXPECT_EQ(kToneFrequencies[1], 450);
    for (std::size_t i = 1; i < kTextSpeeds.size(); ++i) {
        EXPECT_EQ(kTextSpeeds[i] - kTextSpeeds[i - 1], 10);
    }
    for (std::size_t i = 0; i < kDashRatios.size(); ++i) {
        // The label's last digit is the tenth of the ratio it stands for.
        const int tenths = static_cast<int>(std::lround(kDashRatios[i] * 10));
        EXPECT_EQ(kDashRatioLabels[i].back() - '0', tenths % 10) << i;
        EXPECT_EQ(kDashRatioLabels[i][4] - '0', tenths / 10) << i;
    }
}

TEST(SpeedCoupling, TextAboveSignRaisesSign) {
    // Text 200 while the sign speed is 60: the sign list moves to 200.
    EXPECT_EQ(kSignSpeeds[SignIndexAfterTextChange(18, 0)], 200);
    // Text 150 while sign is 100: the first sign speed of at least 150.
    EXPECT_EQ(kSignSpeeds[SignIndexAfterTextChange(13, 4)], 150);
    // Text below the sign speed leaves the sign alone.
    EXPECT_EQ(SignIndexAfterTextChange(2, 4), 4);
}

TEST(SpeedCoupling, SignBelowTextLowersText) {
    EXPECT_EQ(kTextSpeeds[TextIndexAfterSignChange(0, 18)], 60);
    EXPECT_EQ(kTextSpeeds[TextIndexAfterSignChange(5, 12)], 110);
    EXPECT_EQ(TextIndexAfterSignChange(14, 3), 3);
}

TEST(SpeedCoupling, IndexesOutsideTheListsAreLeftAlone) {
    EXPECT_EQ(SignIndexAfterTextChange(19, 0), 0);
    EXPECT_EQ(SignIndexAfterTextChange(-1, 0), 0);
    EXPECT_EQ(TextIndexAfterSignChange(15, 18), 18);
    EXPECT_EQ(TextIndexAfterSignChange(0, 99), 99);
}

}  // namespace
