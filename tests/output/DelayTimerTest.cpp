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

TEST(DelayTimer, LargestDurationDoesNotOverflow) {
    // INT_MAX units is 214.7483647 s; added to a time just below a whole second it carries.
    const timespec due = CDelayTimer::DueTimeAfter(timespec{1000, 999999999}, INT_MAX);
    EXPECT_EQ(due.tv_sec, 1215);
    EXPECT_EQ(due.tv_nsec, 748364699);
    const timespec small = CDelayTimer::DueTimeAfter(timespec{5, 100}, 1);
    EXPECT_EQ(small.tv_sec, 5);
    EXPECT_EQ(small.tv_nsec, 200);
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
