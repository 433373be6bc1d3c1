#include <gtest/gtest.h>

#include <chrono>
#include <climits>

#include "output/CDelayTimer.h"
#include "output/COutputDevice.h"

namespace {

using Clock = std::chrono::steady_clock;

TEST(DelayTimer, WaitsAtLeastTheDuration) {
    CDelayTimer timer;
    const auto start = Clock::now();
    EXPECT_EQ(timer.Wait(20000), 0);  // 2 ms
    EXPECT_GE(Clock::now() - start, std::chrono::microseconds(2000));
}

TEST(DelayTimer, ZeroAndNegativeReturnAtOnce) {
    CDelayTimer timer;
    const auto start = Clock::now();
    EXPECT_EQ(timer.Wait(0), 0);
    EXPECT_EQ(timer.Wait(-1), 0);
    EXPECT_EQ(timer.Wait(INT_MIN), 0);
    // Far less than any of the durations above would take if they were taken as positive.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST(DelayTimer, DueTimesInThePastReturnAtOnceAndTheSpinIsBounded) {
    CDelayTimer timer;
    const auto start = Clock::now();
    EXPECT_EQ(timer.WaitUntil(0), 0);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(100));
    // Whatever the wake-ups were, the clock is read for a bounded time only.
    for (int i = 0; i < 20; ++i) {
        timer.Wait(1000);
        EXPECT_GE(timer.SpinNanoseconds(), CDelayTimer::kMinSpinNanoseconds);
        EXPECT_LE(timer.SpinNanoseconds(), CDelayTimer::kMaxSpinNanoseconds);
    }
}

TEST(SilentDevice, KeysNothingAndIsNotOpen) {
    COutputDevice device;
    EXPECT_FALSE(device.IsOpen());
    const auto start = Clock::now();
    device.SetTone(600);
    device.Key(10000000);  // one second, ignored
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
}

}  // namespace
