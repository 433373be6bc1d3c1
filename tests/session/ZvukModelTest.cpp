#include <gtest/gtest.h>

#include <limits>

#include "session/CZvukModel.h"

namespace {

using Ladder = SoundOptions::Ladder;

// OK takes the rungs typed when they can be read; rungs that cannot be read refuse OK only while
// the rungs are the ladder chosen, and otherwise leave the stored rungs as they were.
TEST(ZvukModel, OkAndTheRungs) {
    const struct {
        Ladder ladder;
        const char* typed;
        bool accepted;
        std::vector<double> rungs;
    } cases[] = {
        {Ladder::kRungs, "1 1,25 1.5", true, {1, 1.25, 1.5}},
        {Ladder::kRungs, "1; 9", false, SoundOptions{}.rungs},
        {Ladder::kRungs, "", false, SoundOptions{}.rungs},
        {Ladder::kNone, "1; 9", true, SoundOptions{}.rungs},
        {Ladder::kSteps, "2 3", true, {2, 3}},
    };
    for (const auto& c : cases) {
        CZvukModel model(SoundOptions{}, ',');
        model.ChooseLadder(c.ladder);
        model.TypeRungs(c.typed);
        EXPECT_EQ(model.Accept(), c.accepted) << c.typed;
        EXPECT_EQ(model.GetView().rungsProblem, !c.accepted) << c.typed;
        EXPECT_EQ(model.Options().rungs, c.rungs) << c.typed;
        // What was typed stays as typed.
        EXPECT_EQ(model.GetView().rungs, c.typed);
    }
}

// The stored rungs are shown with the captions' decimal sign; each field is in use only while
// its choice is on.
TEST(ZvukModel, ViewFollowsTheChoices) {
    CZvukModel model(SoundOptions{}, ',');
    EXPECT_EQ(model.GetView().rungs, "1; 1,175; 1,35; 1,5");
    EXPECT_EQ(CZvukModel(SoundOptions{}, '.').GetView().rungs, "1, 1.175, 1.35, 1.5");
    EXPECT_FALSE(model.GetView().answersEnabled);
    model.SetSpeak(true);
    EXPECT_TRUE(model.GetView().answersEnabled);
    model.ChooseLadder(Ladder::kSteps);
    EXPECT_TRUE(model.GetView().stepsEnabled);
    EXPECT_FALSE(model.GetView().rungsEnabled);
    model.ChooseLadder(Ladder::kRungs);
    EXPECT_FALSE(model.GetView().stepsEnabled);
    EXPECT_TRUE(model.GetView().rungsEnabled);
}

// Each number is bounded as it is set, whatever the widget let through.
TEST(ZvukModel, NumbersBoundedWhenSet) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double seconds;
        int tenths;
    } pauses[] = {{2.54, 25}, {-1.0, 0}, {99.0, SoundOptions::kLongestPauseTenths}, {nan, 0}};
    for (const auto& p : pauses) {
        CZvukModel model(SoundOptions{}, ',');
        model.SetPauseBefore(p.seconds);
        model.SetPauseAfter(p.seconds);
        EXPECT_EQ(model.Options().pauseBeforeTenths, p.tenths) << p.seconds;
        EXPECT_EQ(model.Options().pauseAfterTenths, p.tenths) << p.seconds;
    }
    CZvukModel model(SoundOptions{}, ',');
    model.SetStepCpm(0);
    model.SetStepMinutes(1000);
    EXPECT_EQ(model.Options().stepCpm, 1);
    EXPECT_EQ(model.Options().stepMinutes, SoundOptions::kLongestStepMinutes);
}

}  // namespace
