#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <string>

#include "training/CCallsignRun.h"
#include "training/CInstantRecognition.h"

namespace {

constexpr std::int64_t kMillisecond = 1'000'000;

// A sound card as the trainer sees it: the character's samples are written `lead` ahead of the
// sound, the stream's clock maps sample positions to the monotonic clock, and what is played is
// heard `latency` later. The learner presses a key a known delay after the last sample is heard;
// the press reaches the program a little later still.
struct SoundCardModel {
    std::int64_t originNanoseconds;
    std::int64_t latencyNanoseconds;
    std::int64_t leadNanoseconds;
    double sampleRate = 44100.0;

    // When the place `sample` of the timeline is heard (what the device's HeardAtNanoseconds
    // gives the session).
    std::int64_t HeardAt(std::int64_t sample) const {
        return originNanoseconds +
               static_cast<std::int64_t>(
                   std::llround(1e9 * static_cast<double>(sample) / sampleRate)) +
               latencyNanoseconds;
    }
    // When the send thread has handed the character's last sample over: the clock a trainer
    // that measures from its own sending would start from.
    std::int64_t HandedOverAt(std::int64_t sample) const {
        return HeardAt(sample) - latencyNanoseconds - leadNanoseconds;
    }
};

struct ReactionCase {
    const char* name;
    std::int64_t latencyMilliseconds;
    std::int64_t leadMilliseconds;
};

class ReactionTime : public testing::TestWithParam<ReactionCase> {};

TEST_P(ReactionTime, IsMeasuredFromTheSoundItselfWithinTenMilliseconds) {
    const SoundCardModel card{123'456'789, GetParam().latencyMilliseconds * kMillisecond,
                              GetParam().leadMilliseconds * kMillisecond};
    std::int64_t sample = 0;
    // The learner's true delays, and how late each press reaches the program's thread.
    const std::int64_t delays[] = {0, 95, 180, 333, 420, 999, 1004, 1500, 2750};
    const std::int64_t arrivals[] = {0, 1, 2, 4, 3, 0, 4, 1, 2};
    for (std::size_t k = 0; k < std::size(delays); ++k) {
        // A character of some 80 to 400 ms at the sound card's rate, then the pause of the press.
        sample += 3528 + static_cast<std::int64_t>(k) * 1777;
        const std::int64_t end = card.HeardAt(sample);
        const std::int64_t truePress = end + delays[k] * kMillisecond;
        const int measured =
            CInstantRecognition::ReactionMilliseconds(end, truePress + arrivals[k] * kMillisecond);
        EXPECT_LE(std::abs(measured - delays[k]), 10) << delays[k];
        EXPECT_EQ(measured % CInstantRecognition::kResolutionMilliseconds, 0);
        // Measured from the moment the sound was handed over, the figure would hold the lead
        // and the latency as well.
        const int naive = CInstantRecognition::ReactionMilliseconds(
            card.HandedOverAt(sample), truePress + arrivals[k] * kMillisecond);
        if (GetParam().latencyMilliseconds + GetParam().leadMilliseconds > 20) {
            EXPECT_GT(std::abs(naive - delays[k]), 10);
        }
        sample += card.sampleRate * static_cast<double>(delays[k] + 200) / 1000;
    }
    // A press before the sound ended is no reaction time below zero.
    EXPECT_EQ(CInstantRecognition::ReactionMilliseconds(card.HeardAt(sample),
                                                        card.HeardAt(sample) - kMillisecond),
              0);
}

INSTANTIATE_TEST_SUITE_P(SoundCards, ReactionTime,
                         testing::Values(ReactionCase{"NoLatency", 0, 0},
                                         ReactionCase{"PipeWireQuantum", 21, 43},
                                         ReactionCase{"PulseDefault", 60, 250},
                                         ReactionCase{"BluetoothSink", 180, 400}),
                         [](const testing::TestParamInfo<ReactionCase>& param) {
                             return std::string(param.param.name);
                         });

// A simulated learner: `wrong` is never recognised, `slow` only after 1.5 s, the rest at once.
std::map<char, int> Drill(CInstantRecognition& drill, char wrong, char slow, int turns) {
    std::map<char, int> keyed;
    char previous = 0;
    for (int k = 0; k < turns; ++k) {
        const char c = drill.Next();
        EXPECT_NE(c, previous) << "keyed twice in a row at " << k;
        previous = c;
        ++keyed[c];
        drill.Answer(c == wrong ? '?' : c, c == slow ? 1500 : 400);
    }
    return keyed;
}

TEST(InstantRecognition, WrongAndSlowCharactersComeBackSooner) {
    CInstantRecognition drill("KMRSUAPTLO", CInstantRecognition::kDefaultLimitMilliseconds, 3);
    const std::map<char, int> keyed = Drill(drill, 'R', 'A', 600);
    ASSERT_EQ(keyed.size(), 10U);
    for (const auto& [c, count] : keyed) {
        if (c != 'R' && c != 'A') {
            EXPECT_GT(keyed.at('A'), count) << c;
        }
    }
    EXPECT_GT(keyed.at('R'), keyed.at('A'));
    EXPECT_EQ(drill.Errors('R'), drill.Answers('R'));
    EXPECT_EQ(drill.Errors('K'), 0);
    EXPECT_EQ(drill.MedianMilliseconds('A'), 1500);
    EXPECT_EQ(drill.MedianMilliseconds('K'), 400);
    // A character never answered right has no reaction time.
    EXPECT_EQ(drill.MedianMilliseconds('R'), std::nullopt);
}

TEST(InstantRecognition, WrongCharacterIsBackWithinThreeTurns) {
    CInstantRecognition drill("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 1000, 11);
    int since = -1;
    for (int k = 0; k < 400; ++k) {
        const char c = drill.Next();
        if (since >= 0) {
            ++since;
        }
        if (c == 'Q') {
            EXPECT_TRUE(since < 0 || since <= 3) << since;
            since = 0;
        }
        drill.Answer(c == 'Q' ? 'X' : c, 300);
    }
    EXPECT_GT(drill.Answers('Q'), 100);
}

TEST(InstantRecognition, SpeedRisesWithRightQuickAnswersInARow) {
    struct {
        const char* answers;  // R right and quick, S slow, W wrong
        int steps;
    } const cases[] = {
        {"RRRRR", 1},     {"RRRR", 0},       {"RRRRWRRRRR", 1},
        {"RRRRSRRRR", 0}, {"RRRRRRRRRR", 2}, {"WWWWWWWW", 0},
    };
    for (const auto& c : cases) {
        CInstantRecognition drill("EISH5", 1000, 1);
        for (const char* a = c.answers; *a != 0; ++a) {
            const char keyed = drill.Next();
            drill.Answer(*a == 'W' ? 'T' : keyed, *a == 'S' ? 1001 : 1000);
        }
        EXPECT_EQ(drill.SpeedSteps(), c.steps) << c.answers;
    }
}

// An answer before the character's end is right or wrong but has no time: four early right
// answers and two at 300 ms give a median of 300 ms, not 0.
TEST(InstantRecognition, EarlyAnswersCarryNoTime) {
    CInstantRecognition drill("K", 1000, 1);
    const std::optional<int> reactions[] = {std::nullopt, 300, std::nullopt,
                                            std::nullopt, 300, std::nullopt};
    for (const std::optional<int>& reaction : reactions) {
        EXPECT_EQ(drill.Answer(drill.Next(), reaction), CInstantRecognition::Verdict::Right);
    }
    EXPECT_EQ(drill.Next(), 'K');
    EXPECT_EQ(drill.Answer('T', std::nullopt), CInstantRecognition::Verdict::Wrong);
    EXPECT_EQ(drill.MedianMilliseconds('K'), 300);
    EXPECT_EQ(drill.Early('K'), 4);
    EXPECT_EQ(drill.Answers('K'), 7);
    EXPECT_EQ(drill.Errors('K'), 1);
}

TEST(InstantRecognition, SetIsCleanedAndAnswersIgnoreCase) {
    CInstantRecognition drill("ab a\xE8", 1000, 5);
    std::map<char, int> keyed;
    for (int k = 0; k < 20; ++k) {
        const char c = drill.Next();
        ++keyed[c];
        EXPECT_EQ(drill.Answer(static_cast<char>(c - 'A' + 'a'), 10),
                  CInstantRecognition::Verdict::Right);
    }
    EXPECT_EQ(keyed.size(), 2U);
    EXPECT_TRUE(CInstantRecognition("\xE8 ", 1000, 1).Empty());
}

// A learner who copies every callsign up to a speed and none above it: the run's speed settles
// within two steps of that speed, wherever it starts.
TEST(CallsignRun, SpeedSettlesAtTheLearnersLimit) {
    struct {
        int limit;
        int start;
        int step;
    } const cases[] = {{40, 60, 5}, {80, 60, 5}, {150, 60, 10}, {100, 100, 4}, {25, 300, 20}};
    for (const auto& c : cases) {
        CCallsignRun run(CCallsignRun::Settings{.startSpeed = c.start, .step = c.step}, 9);
        int typed = 0;
        while (!run.Finished()) {
            if (typed >= 30) {
                EXPECT_LE(std::abs(run.Speed() - c.limit), 2 * c.step) << c.limit;
            }
            run.Type(run.Speed() <= c.limit ? run.Current() : std::string("?"));
            ++typed;
        }
        EXPECT_EQ(typed, CCallsignRun::kCallsigns);
        EXPECT_EQ(run.Answers().size(), static_cast<std::size_t>(CCallsignRun::kCallsigns));
    }
}

TEST(CallsignRun, ScoreGrowsWithSpeedAndRepeatsCost) {
    const auto score = [](int limit, bool repeat) {
        CCallsignRun run(CCallsignRun::Settings{}, 4);
        while (!run.Finished()) {
            if (repeat) {
                run.Repeat();
            }
            run.Type(run.Speed() <= limit ? run.Current() : "");
        }
        return run.Score();
    };
    EXPECT_GT(score(150, false), score(100, false));
    EXPECT_GT(score(100, false), score(60, false));
    EXPECT_LT(score(100, true), score(100, false));
    // Copies are compared without spaces and case; a wrong one scores nothing.
    CCallsignRun run(CCallsignRun::Settings{}, 2);
    std::string spaced;
    for (const char c : run.Current()) {
        spaced += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        spaced += ' ';
    }
    run.Type(spaced);
    ASSERT_EQ(run.Answers().size(), 1U);
    EXPECT_TRUE(run.Answers()[0].right);
    EXPECT_GT(run.Answers()[0].points, 0);
    EXPECT_EQ(run.Speed(), 65);
    run.Type("X");
    EXPECT_FALSE(run.Answers()[1].right);
    EXPECT_EQ(run.Answers()[1].points, 0);
    EXPECT_EQ(run.Speed(), 60);
}

}  // namespace
