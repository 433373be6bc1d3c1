#include <gtest/gtest.h>

#include "engine/CKeyingEngine.h"

namespace {

TEST(KeyingEngineTiming, IdleSettersStoreWithoutRecomputing) {
    CKeyingEngine engine;
    engine.RecomputeTiming();
    EXPECT_EQ(static_cast<std::int32_t>(engine.GetDotUnits()), 600000);

    // Durations are computed afresh at the start of a transmission, not by the setters.
    engine.SetSignSpeed(200);
    engine.SetTextSpeed(200);
    EXPECT_EQ(static_cast<std::int32_t>(engine.GetDotUnits()), 600000);
    engine.RecomputeTiming();
    EXPECT_EQ(static_cast<std::int32_t>(engine.GetDotUnits()), 300000);
}

TEST(KeyingEngineTiming, IdleRatioAppliesToDashesButNotToSpacing) {
    CKeyingEngine engine;
    engine.RecomputeTiming();
    const double spacing = engine.GetSpacingUnits();
    engine.SetDashRatio(4.0);
    EXPECT_EQ(engine.GetDashMultiplier(), 4.0);
    EXPECT_EQ(engine.GetSpacingUnits(), spacing);
}

TEST(KeyingEngineTiming, ReadOutsDoNotTouchKeyingDurations) {
    CKeyingEngine engine;
    engine.RecomputeTiming();
    engine.SetSignSpeed(150);
    engine.SetTextSpeed(60);
    engine.SetDashRatio(3.5);
    EXPECT_EQ(engine.GetEffectiveTextSpeed(), 58);
    EXPECT_EQ(engine.GetEffectiveSignSpeed(), 144);
    EXPECT_EQ(static_cast<std::int32_t>(engine.GetDotUnits()), 600000);
}

}  // namespace
