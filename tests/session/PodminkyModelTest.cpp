#include <gtest/gtest.h>

#include "session/CPodminkyModel.h"

namespace {

// The seed as typed, taken by OK: a 64-bit number replaces the seed, anything else keeps the one
// there was (not the last of its beginnings that fitted) while the field shows what was typed.
TEST(PodminkyModel, SeedAsTyped) {
    const struct {
        std::string typed;
        std::uint64_t seed;
    } cases[] = {
        {"77", 77},
        {"18446744073709551615", 18446744073709551615ULL},
        {"18446744073709551616", 5},
        {"99999999999999999999", 5},
        {"", 5},
        {"12a", 5},
    };
    for (const auto& c : cases) {
        ReceptionSettings start;
        start.seed = 5;
        CPodminkyModel model(start);
        for (std::size_t typed = 0; typed <= c.typed.size(); ++typed) {
            model.TypeSeed(c.typed.substr(0, typed));
        }
        model.Accept();
        EXPECT_EQ(model.Settings().seed, c.seed) << c.typed;
        EXPECT_EQ(model.GetView().seed, c.typed);
    }
}

// A value's field is in use while its condition is on; the receiver filter while anything is
// heard through it, which interference without a station is not. Values are bounded as set.
TEST(PodminkyModel, FieldsInUseAndValuesBounded) {
    CPodminkyModel model{ReceptionSettings{}};
    EXPECT_FALSE(model.GetView().valueEnabled[CPodminkyModel::kFilter]);
    model.SetCondition(CPodminkyModel::kInterference, true);
    model.SetValue(CPodminkyModel::kStations, 0);
    EXPECT_TRUE(model.GetView().valueEnabled[CPodminkyModel::kStations]);
    EXPECT_FALSE(model.GetView().valueEnabled[CPodminkyModel::kFilter]);
    model.SetValue(CPodminkyModel::kStations, 99);
    EXPECT_EQ(model.Settings().stations, ReceptionSettings::kMostStations);
    EXPECT_TRUE(model.GetView().valueEnabled[CPodminkyModel::kFilter]);
    model.SetValue(CPodminkyModel::kSnr, -100);
    EXPECT_EQ(model.GetView().values[CPodminkyModel::kSnr], ReceptionSettings::kLowestSnrDb);
    EXPECT_FALSE(model.GetView().valueEnabled[CPodminkyModel::kSnr]);

    // The defaults turn everything off and keep the seed and its choice.
    model.TypeSeed("42");
    model.SetFixedSeed(true);
    model.ChooseFist(7);
    EXPECT_EQ(model.Settings().fist, FistKind::kBug);
    model.Defaults();
    ReceptionSettings expected;
    expected.seed = 42;
    expected.fixedSeed = true;
    EXPECT_EQ(model.Settings(), expected);
}

// A fading preset sets the spread and the second path, and the view names the preset they match:
// a spread of the learner's own is "own" until it matches one again.
TEST(PodminkyModel, FadingPresetsFollowTheSpreadAndPath) {
    CPodminkyModel model{ReceptionSettings{}};
    model.SetCondition(CPodminkyModel::kFading, true);
    const struct {
        void (*act)(CPodminkyModel&);
        int spread;
        int delay;
        int preset;
    } steps[] = {
        {[](CPodminkyModel& m) { m.ChooseFadingPreset(3); }, 1000, 0, 3},
        {[](CPodminkyModel& m) { m.SetValue(CPodminkyModel::kFadingSpread, 30); }, 30, 0,
         CPodminkyModel::kFadingPresetOwn},
        {[](CPodminkyModel& m) { m.ChooseFadingPreset(CPodminkyModel::kFadingPresetOwn); }, 30, 0,
         CPodminkyModel::kFadingPresetOwn},
        {[](CPodminkyModel& m) { m.ChooseFadingPreset(0); }, 10, 500, 0},
        {[](CPodminkyModel& m) { m.SetValue(CPodminkyModel::kPathDelay, 99999); }, 10, 5000,
         CPodminkyModel::kFadingPresetOwn},
        {[](CPodminkyModel& m) { m.SetValue(CPodminkyModel::kPathDelay, 500); }, 10, 500, 0},
        // The fields in hertz and milliseconds, as the presets name them.
        {[](CPodminkyModel& m) { m.SetFadingSpreadHz(0.5); }, 50, 500,
         CPodminkyModel::kFadingPresetOwn},
        {[](CPodminkyModel& m) { m.SetPathDelayMilliseconds(1.0); }, 50, 1000, 1},
        {[](CPodminkyModel& m) { m.SetFadingSpreadHz(99.0); }, 2000, 1000,
         CPodminkyModel::kFadingPresetOwn},
    };
    for (const auto& step : steps) {
        step.act(model);
        EXPECT_EQ(model.Settings().fadingSpreadCentihertz, step.spread);
        EXPECT_EQ(model.Settings().pathDelayMicroseconds, step.delay);
        EXPECT_EQ(model.GetView().fadingPreset, step.preset);
        EXPECT_EQ(model.Settings().fadingSeconds, ReceptionSettings::FadingSecondsFor(step.spread));
    }
}

}  // namespace
