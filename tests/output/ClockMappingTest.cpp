#include <gtest/gtest.h>

#include <random>

#include "output/CClockMapping.h"

namespace {

constexpr double kRate = 44100;
constexpr std::int64_t kBuffer = 441;  // 10 ms

std::int64_t SampleTime(std::int64_t sample) {
    return static_cast<std::int64_t>(static_cast<double>(sample) * 1e9 / kRate);
}

// Callbacks up to 3 ms late: the origin is that of the earliest, and an event needs a buffer's
// lead (the earliest callback renders a buffer that ends 10 ms later).
TEST(ClockMapping, FollowsTheEarliestCallbacksUnderJitter) {
    std::mt19937 random(1);
    std::uniform_int_distribution<std::int64_t> jitter(0, 3000000);
    CClockMapping mapping(kRate);
    const std::int64_t origin = 5000000000;
    for (std::int64_t buffer = 0; buffer < 3000; ++buffer) {
        const std::int64_t first = buffer * kBuffer;
        mapping.Observe(origin + SampleTime(first) + jitter(random), first, kBuffer, false);
    }
    // The earliest of some 25 callbacks a block is a little above the true origin.
    EXPECT_NEAR(static_cast<double>(mapping.OriginNanoseconds() - origin), 0.0, 400000);
    EXPECT_NEAR(static_cast<double>(mapping.RequiredLeadNanoseconds()),
                static_cast<double>(SampleTime(kBuffer)), 500000);
}

// Four buffers rendered at once every 40 ms: the origin is that of the last of each burst, the
// one rendered furthest ahead, and the lead is one buffer beyond it.
TEST(ClockMapping, BurstsAreAbsorbedByTheOrigin) {
    CClockMapping mapping(kRate);
    for (std::int64_t burst = 0; burst < 200; ++burst) {
        const std::int64_t now = 1000000000 + burst * 40000000;
        for (std::int64_t k = 0; k < 4; ++k) {
            const std::int64_t first = (burst * 4 + k) * kBuffer;
            mapping.Observe(now, first, kBuffer, false);
        }
    }
    EXPECT_NEAR(static_cast<double>(mapping.OriginNanoseconds()), 1000000000.0 - 30000000.0,
                100000);
    EXPECT_NEAR(static_cast<double>(mapping.RequiredLeadNanoseconds()), 10000000.0, 100000);
}

TEST(ClockMapping, FollowsDriftAndRestartsAfterAnUnderrunOrAStall) {
    CClockMapping mapping(kRate);
    // The sound card runs 100 ppm fast against the system clock.
    for (std::int64_t buffer = 0; buffer < 2000; ++buffer) {
        const std::int64_t first = buffer * kBuffer;
        mapping.Observe(static_cast<std::int64_t>(static_cast<double>(SampleTime(first)) * 0.9999),
                        first, kBuffer, false);
    }
    const std::int64_t last = 1999 * kBuffer;
    const double expected =
        static_cast<double>(SampleTime(last)) * 0.9999 - static_cast<double>(SampleTime(last));
    EXPECT_NEAR(static_cast<double>(mapping.OriginNanoseconds()), expected, 100000);
    EXPECT_GT(mapping.SteadyNanoseconds(SampleTime(last)), 19000000000);

    // After an underrun the stream has fallen behind by 50 ms: the origin jumps with it.
    std::int64_t first = 2000 * kBuffer;
    mapping.Observe(SampleTime(first) + 50000000, first, kBuffer, true);
    EXPECT_EQ(mapping.OriginNanoseconds(), 50000000);
    EXPECT_EQ(mapping.SteadyNanoseconds(SampleTime(first) + 50000000), 0);
    // A stream that stalls for half a second without reporting an underrun starts afresh too.
    first += kBuffer;
    mapping.Observe(SampleTime(first) + 550000000, first, kBuffer, false);
    EXPECT_EQ(mapping.OriginNanoseconds(), 550000000);
}

}  // namespace
