#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/CFist.h"
#include "core/CSeededRandom.h"
#include "tests/support/CaseName.h"

namespace {

struct Moments {
    double mean = 0.0;
    double deviation = 0.0;
};

Moments Measure(const std::vector<double>& values) {
    Moments moments;
    for (const double value : values) {
        moments.mean += value;
    }
    moments.mean /= static_cast<double>(values.size());
    for (const double value : values) {
        moments.deviation += (value - moments.mean) * (value - moments.mean);
    }
    moments.deviation = std::sqrt(moments.deviation / static_cast<double>(values.size() - 1));
    return moments;
}

// Mean and standard deviation of max(floor, X) for X normal with these moments: the fist never
// keys a length below its floor.
Moments Floored(double mean, double deviation, double floor) {
    if (deviation == 0.0) {
        return {std::max(mean, floor), 0.0};
    }
    const double a = (floor - mean) / deviation;
    const double below = 0.5 * std::erfc(-a / std::sqrt(2.0));
    const double density = std::exp(-a * a / 2.0) / std::sqrt(2.0 * 3.141592653589793);
    const double first = floor * below + mean * (1.0 - below) + deviation * density;
    const double second = floor * floor * below +
                          (mean * mean + deviation * deviation) * (1.0 - below) +
                          deviation * density * (mean + floor);
    return {first, std::sqrt(second - first * first)};
}

double LagOneCorrelation(const std::vector<double>& values) {
    const Moments moments = Measure(values);
    double sum = 0.0;
    for (std::size_t i = 1; i < values.size(); ++i) {
        sum += (values[i] - moments.mean) * (values[i - 1] - moments.mean);
    }
    return sum / static_cast<double>(values.size() - 1) / (moments.deviation * moments.deviation);
}

constexpr double kDot = 600000.0;  // 100 characters a minute
constexpr double kDash = 3 * kDot;
constexpr double kCharacterGap = 2 * kDot;
constexpr double kWordGap = 4 * kDot;

// Keys "A" (dot, gap, dash, gap, character gap) many times; lengths in dots.
struct Keyed {
    std::vector<double> dots, gapsAfterDots, dashes, gapsAfterDashes, characterGaps;
};

Keyed KeyManyA(FistKind kind, std::uint64_t seed, int characters) {
    CFist fist(kind, seed);
    Keyed keyed;
    for (int i = 0; i < characters; ++i) {
        keyed.dots.push_back(fist.Shape(KeyInterval::kDot, kDot, kDot) / kDot);
        keyed.gapsAfterDots.push_back(fist.Shape(KeyInterval::kElementGap, kDot, kDot) / kDot);
        keyed.dashes.push_back(fist.Shape(KeyInterval::kDash, kDash, kDot) / kDot);
        keyed.gapsAfterDashes.push_back(fist.Shape(KeyInterval::kElementGap, kDot, kDot) / kDot);
        keyed.characterGaps.push_back(fist.Shape(KeyInterval::kCharacterGap, kCharacterGap, kDot) /
                                      kDot);
    }
    return keyed;
}

struct FistCase {
    std::string name;
    FistKind kind;
};

class FistStatistics : public testing::TestWithParam<FistCase> {};

// Over 20000 characters the lengths keyed scatter around the model's, shifted by the weight,
// with the jitter the kind names; what weight adds to a key-down it takes from the gap after it.
// The bounds are several standard errors wide and far narrower than any trait.
TEST_P(FistStatistics, JitterAndWeightAreTheKindsTraits) {
    const FistTraits traits = CFist::TraitsOf(GetParam().kind);
    const Keyed keyed = KeyManyA(GetParam().kind, 2024, 20000);
    const struct {
        const char* what;
        const std::vector<double>& values;
        double mean;
        double deviation;
    } expected[] = {
        {"dot", keyed.dots, 1.0 + traits.dotWeight, traits.dotJitter},
        {"gap after dot", keyed.gapsAfterDots, 1.0 - traits.dotWeight, traits.dotJitter},
        {"dash", keyed.dashes, 3.0 + traits.dashWeight + traits.dashExtra, traits.dashJitter},
        {"gap after dash", keyed.gapsAfterDashes, 1.0 - traits.dashWeight, traits.dashJitter},
    };
    for (const auto& row : expected) {
        const Moments measured = Measure(row.values);
        const Moments model = Floored(row.mean, row.deviation, 1.0 / 3.0);
        EXPECT_NEAR(measured.mean, model.mean, 0.01) << row.what;
        EXPECT_NEAR(measured.deviation, model.deviation, 0.01 + 0.06 * model.deviation) << row.what;
    }
    // A dot and the gap after it take two dots together, as the model's do.
    const Moments dotAndGap = Measure([&] {
        std::vector<double> sums;
        for (std::size_t i = 0; i < keyed.dots.size(); ++i) {
            sums.push_back(keyed.dots[i] + keyed.gapsAfterDots[i]);
        }
        return sums;
    }());
    EXPECT_NEAR(dotAndGap.mean, 2.0, 0.03);
    // Character gaps of two dots scatter by the drift of their factor and their own jitter, never
    // below a dot; neighbours are alike when the spacing drifts, unlike independent draws. The
    // drift's memory leaves about N (1 - m) / (1 + m) independent gaps for the bounds.
    const Moments gaps = Measure(keyed.characterGaps);
    const double drift = 2.0 * traits.spacingDrift;
    const Moments model =
        Floored(2.0 + traits.characterExtra,
                std::sqrt(drift * drift + traits.gapJitter * traits.gapJitter), 1.0);
    const double independent = 20000.0 * (1.0 - CFist::kDriftMemory) / (1.0 + CFist::kDriftMemory);
    EXPECT_NEAR(gaps.mean, model.mean, 0.01 + 4.0 * model.deviation / std::sqrt(independent));
    EXPECT_NEAR(gaps.deviation, model.deviation, 0.02 + 0.15 * model.deviation);
    if (traits.spacingDrift > 0.1) {
        EXPECT_GT(LagOneCorrelation(keyed.characterGaps), 0.3);
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, FistStatistics,
                         testing::Values(FistCase{"GoodHand", FistKind::kGoodHand},
                                         FistCase{"StraightKey", FistKind::kStraightKey},
                                         FistCase{"Bug", FistKind::kBug}),
                         CaseName());

// Every hand leaves five to six dots between words at equal speeds, as measured operators do,
// and runs characters together (a character's silence under two dots) only rarely.
TEST(Fist, SpacingWithinMeasuredHumanRanges) {
    for (const FistKind kind : {FistKind::kGoodHand, FistKind::kStraightKey, FistKind::kBug}) {
        CFist fist(kind, 77);
        double words = 0.0;
        int runTogether = 0;
        constexpr int kWords = 20000;
        for (int i = 0; i < kWords; ++i) {
            fist.Shape(KeyInterval::kDash, kDash, kDot);
            const double elementGap = fist.Shape(KeyInterval::kElementGap, kDot, kDot);
            const double character =
                elementGap + fist.Shape(KeyInterval::kCharacterGap, kCharacterGap, kDot);
            runTogether += character < 2.0 * kDot ? 1 : 0;
            words += (character + fist.Shape(KeyInterval::kWordGap, kWordGap, kDot)) / kDot;
        }
        const int kindNumber = static_cast<int>(kind);
        EXPECT_GT(words / kWords, 5.0) << kindNumber;
        EXPECT_LT(words / kWords, 6.0) << kindNumber;
        EXPECT_LT(runTogether, kWords / 20) << kindNumber;
    }
}

TEST(Fist, KindsDifferAsNamed) {
    const FistTraits good = CFist::TraitsOf(FistKind::kGoodHand);
    const FistTraits poor = CFist::TraitsOf(FistKind::kStraightKey);
    const FistTraits bug = CFist::TraitsOf(FistKind::kBug);
    EXPECT_EQ(CFist::TraitsOf(FistKind::kNone), FistTraits{});
    EXPECT_LT(good.dotJitter, poor.dotJitter);
    EXPECT_LT(good.spacingDrift, poor.spacingDrift);
    EXPECT_LT(good.dotWeight, poor.dotWeight);
    // A bug's dots are the machine's; its dashes are the hand's, and long.
    EXPECT_EQ(bug.dotJitter, 0.0);
    EXPECT_EQ(bug.dotWeight, 0.0);
    EXPECT_GT(bug.dashJitter, 0.0);
    EXPECT_GT(bug.dashExtra, 0.0);
    const Keyed keyed = KeyManyA(FistKind::kBug, 5, 200);
    for (std::size_t i = 0; i < keyed.dots.size(); ++i) {
        EXPECT_EQ(keyed.dots[i], 1.0);
        EXPECT_EQ(keyed.gapsAfterDots[i], 1.0);
    }
}

TEST(Fist, NoneKeysTheModelExactly) {
    CFist fist(FistKind::kNone, 99);
    const std::pair<KeyInterval, double> intervals[] = {
        {KeyInterval::kDot, kDot},
        {KeyInterval::kDash, 3.7 * kDot},
        {KeyInterval::kElementGap, kDot},
        {KeyInterval::kCharacterGap, 17789473.68},
        {KeyInterval::kWordGap, 25052631.57},
        {KeyInterval::kFurtherSpace, 7.3 * kDot},
        {KeyInterval::kStartSignGap, 6.1 * kDot},
    };
    for (const auto& [interval, units] : intervals) {
        EXPECT_EQ(fist.Shape(interval, units, kDot), units);
    }
}

// One seed keys the same lengths every time; another seed keys others. Word gaps never fall to a
// character gap, key-downs and gaps never vanish however poor the hand.
TEST(Fist, SeededAndBounded) {
    for (const FistKind kind : {FistKind::kGoodHand, FistKind::kStraightKey, FistKind::kBug}) {
        CFist first(kind, 7);
        CFist again(kind, 7);
        CFist other(kind, 8);
        int differing = 0;
        for (int i = 0; i < 5000; ++i) {
            const KeyInterval interval = static_cast<KeyInterval>(i % 7);
            const double units = interval == KeyInterval::kDash ? kDash : kWordGap;
            const double length = first.Shape(interval, units, kDot);
            EXPECT_EQ(length, again.Shape(interval, units, kDot));
            differing += length != other.Shape(interval, units, kDot) ? 1 : 0;
            EXPECT_GE(length, kDot / 3.0);
            if (interval == KeyInterval::kWordGap) {
                EXPECT_GE(length, 2.0 * kDot);
            }
        }
        EXPECT_GT(differing, 2500);
    }
}

TEST(SeededRandom, StreamsAreReproducibleAndIndependent) {
    CSeededRandom a(42);
    CSeededRandom b(42);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(a.Next(), b.Next());
    }
    // Derived streams differ from each other and from the seed's own.
    const std::uint64_t streams[] = {
        CSeededRandom::Derive(42, SeedStream::kNoise),
        CSeededRandom::Derive(42, SeedStream::kFading),
        CSeededRandom::Derive(42, SeedStream::kInterference, 0),
        CSeededRandom::Derive(42, SeedStream::kInterference, 1),
        CSeededRandom::Derive(43, SeedStream::kNoise),
    };
    for (std::size_t i = 0; i < std::size(streams); ++i) {
        for (std::size_t j = i + 1; j < std::size(streams); ++j) {
            EXPECT_NE(streams[i], streams[j]) << i << " " << j;
        }
    }
    // Moments of the three distributions over 200000 draws, several standard errors wide.
    CSeededRandom random(1);
    constexpr int kDraws = 200000;
    double uniform = 0.0;
    double gaussian = 0.0;
    double gaussianSquares = 0.0;
    double exponential = 0.0;
    int beyondThree = 0;
    for (int i = 0; i < kDraws; ++i) {
        const double u = random.Uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
        uniform += u;
        const double g = random.Gaussian();
        gaussian += g;
        gaussianSquares += g * g;
        beyondThree += std::fabs(g) > 3.0 ? 1 : 0;
        exponential += random.Exponential(2.0);
    }
    EXPECT_NEAR(uniform / kDraws, 0.5, 0.003);
    EXPECT_NEAR(gaussian / kDraws, 0.0, 0.01);
    EXPECT_NEAR(gaussianSquares / kDraws, 1.0, 0.015);
    // 0.27 % of a normal distribution lies beyond three standard deviations.
    EXPECT_NEAR(beyondThree / static_cast<double>(kDraws), 0.0027, 0.0006);
    EXPECT_NEAR(exponential / kDraws, 2.0, 0.02);
}

}  // namespace
