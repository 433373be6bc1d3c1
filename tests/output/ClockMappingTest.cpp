#include <gtest/gtest.h>

#include <random>

#include "output/CClockMapping.h"

namespace {

constexpr double kRate = 44100;
constexpr std::int64_t kBuffer = 441;  // 10 ms

std::int64_t SampleTime(std::int64_t sample) {
    return static_cast<std::int64_t>(static_cast<double>(sample) * 1e9 / kRate);
}

TEST(ClockMapping, SmoothsCallbackJitterToTheTrueOrigin) {
    std::mt19937 random(1);
    std::uniform_int_distribution<std::int64_t> jitter(0, 3000000);  // callbacks up to 3 ms late
    CClockMapping mapping(kRate);
    const std::int64_t origin = 5000000000;
    for (std::int64_t buffer = 0; buffer < 3000; ++buffer) {
        const std::int64_t first = buffer * kBuffer;
        mapping.Observe(origin + SampleTime(first) + jitter(random), first, false);
    }
    // The mean lateness is 1.5 ms; the smoothed origin stays within a fraction of the jitter.
    EXPECT_NEAR(static_cast<double>(mapping.OriginNanoseconds() - origin), 1.5e6, 0.5e6);
    // An event keyed right after a callback may wait a buffer and the worst jitter.
    EXPECT_GT(mapping.RequiredLeadNanoseconds(), SampleTime(kBuffer));
    EXPECT_LT(mapping.RequiredLeadNanoseconds(), SampleTime(kBuffer) + 3000000);
}

TEST(ClockMappingTest, FollowsDriftAndRestartsAfterAnUnderrun) {
    CClockMapping mapping(kRate);
    // The sound card runs 100 ppm fast against the system clock.
    for (std::int64_t buffer = 0; buffer < 2000; ++buffer) {
        const std::int64_t first = buffer * kBuffer;
        mapping.Observe(static_cast<std::int64_t>(static_cast<double>(SampleTime(first)) * 0.9999),
                        first, false);
    }
    const std::int64_t last = 1999 * kBuffer;
    const double expected =
        static_cast<double>(SampleTime(last)) * 0.9999 - static_cast<double>(SampleTime(last));
    EXPECT_NEAR(static_cast<double>(mapping.OriginNanoseconds()), expected, 200000);

    // After an underrun the stream has fallen behind by 50 ms: the origin jumps with it.
    const std::int64_t first = 2000 * kBuffer;
    mapping.Observe(SampleTime(first) + 50000000, first, true);
    EXPECT_EQ(mapping.OriginNanoseconds(), 50000000);
}

}  // namespace
