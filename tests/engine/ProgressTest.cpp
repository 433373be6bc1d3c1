#include <gtest/gtest.h>

#include <thread>

#include "engine/CProgressEvent.h"
#include "engine/CWakeup.h"
#include "engine/ProgressWalk.h"
#include "tests/support/CaseName.h"

namespace {

TEST(ProgressEvent, SetStaysUntilTakenPulseOnlyWakesAWaiter) {
    CProgressEvent event;
    event.Pulse();  // nobody waits: lost
    event.Set();    // kept
    EXPECT_EQ(event.Wait(), CProgressEvent::Signal::Progress);
    event.SetEnd();
    EXPECT_EQ(event.Wait(), CProgressEvent::Signal::End);
    EXPECT_EQ(event.SetCount(), 1);
    EXPECT_EQ(event.PulseCount(), 1);
}

TEST(ProgressEvent, PendingSetIsTakenBeforeTheEnd) {
    CProgressEvent event;
    event.Set();
    event.SetEnd();
    EXPECT_EQ(event.Wait(), CProgressEvent::Signal::Progress);
    EXPECT_EQ(event.Wait(), CProgressEvent::Signal::End);
}

// A device that keys ahead of its sound gives each signal the moment its place is heard: every
// such signal is kept, in order, with its due time, pulses included, and taken before the end.
TEST(ProgressEvent, TimedSignalsAreQueuedWithTheirDueTimes) {
    CProgressEvent event;
    event.Set(10);
    event.Set(20);
    event.Pulse(30);
    event.Set(40);
    event.SetEnd();
    for (const std::int64_t expected : {10, 20, 30, 40}) {
        std::int64_t due = 0;
        ASSERT_EQ(event.Wait(due), CProgressEvent::Signal::Progress);
        EXPECT_EQ(due, expected);
    }
    EXPECT_EQ(event.Wait(), CProgressEvent::Signal::End);
    EXPECT_EQ(event.SetCount(), 3);
    EXPECT_EQ(event.PulseCount(), 1);
}

TEST(ProgressEvent, PulseReachesAWaitingThread) {
    CProgressEvent event;
    CProgressEvent::Signal received = CProgressEvent::Signal::End;
    std::thread waiter([&] { received = event.Wait(); });
    while (!event.IsWaiting()) {
        std::this_thread::yield();
    }
    event.Pulse();
    waiter.join();
    EXPECT_EQ(received, CProgressEvent::Signal::Progress);
}

TEST(Wakeup, ReleaseWithoutWaiterIsForgotten) {
    CWakeup wakeup;
    EXPECT_FALSE(wakeup.Release());
    std::thread sender([&] { wakeup.Suspend([&] { return false; }); });
    while (!wakeup.IsSuspended()) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(wakeup.Release());
    sender.join();
    EXPECT_FALSE(wakeup.IsSuspended());
}

TEST(Wakeup, ConditionAlreadyTrueDoesNotSuspend) {
    // A stop that came before the suspension ends it at once.
    CWakeup wakeup;
    wakeup.Suspend([] { return true; });
    EXPECT_FALSE(wakeup.IsSuspended());
}

struct WalkCase {
    const char* name;
    std::string display;
    bool eachSpaceSignalled;
    std::vector<std::size_t> positions;  // the p at which each signal arrives
    std::vector<std::size_t> marked;     // the last marked position for each
};

class ProgressWalkTest : public testing::TestWithParam<WalkCase> {};

TEST_P(ProgressWalkTest, MarksTheRightCharacters) {
    const WalkCase& c = GetParam();
    for (std::size_t i = 0; i < c.positions.size(); ++i) {
        EXPECT_EQ(SentPositionFor(c.display, c.positions[i], c.eachSpaceSignalled), c.marked[i])
            << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressWalkTest,
    testing::Values(WalkCase{"SpaceRunIsOneStep", "A  B", false, {0, 1, 4}, {0, 2, 3}},
                    WalkCase{"EachSpaceOwnStep", "A  B", true, {1, 2, 3}, {1, 2, 3}},
                    WalkCase{"SpaceTakesLineBreak", "ABC \r\nD", false, {3, 6}, {5, 6}},
                    WalkCase{"BreakGoesWithNextCharacter", "AB\r\nC", false, {2}, {4}},
                    WalkCase{"TrailingBreakStaysInside", "AB\r\n", true, {2}, {3}},
                    WalkCase{"BeyondTheEnd", "AB", false, {5}, {1}},
                    WalkCase{"ProsignIsOneStep", "K <AR> E", false, {0, 1, 2, 7}, {0, 1, 5, 7}},
                    WalkCase{"ProsignAcrossABreak", "<A\r\nR>E", false, {0, 6}, {5, 6}},
                    WalkCase{"LoneBracketIsACharacter", "<A E>", false, {0, 1}, {0, 1}}),
    CaseName());

}  // namespace
