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

}  // namespace
