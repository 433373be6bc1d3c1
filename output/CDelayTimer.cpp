#include "output/CDelayTimer.h"

#include <sys/prctl.h>

#include <cerrno>
#include <ctime>

namespace {

constexpr long kNanosecondsPerSecond = 1000000000L;

// Timer slack is a property of the thread; the default 50 us would blur every element edge.
void EnsureFineTimerSlack() {
    thread_local bool slackSet = false;
    if (!slackSet) {
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        slackSet = true;
    }
}

}  // namespace

CDelayTimer::~CDelayTimer() = default;

timespec CDelayTimer::DueTimeAfter(timespec now, std::int32_t durationUnits) {
    const std::int64_t nanoseconds = static_cast<std::int64_t>(durationUnits) * 100;
    timespec due = now;
    due.tv_sec += static_cast<time_t>(nanoseconds / kNanosecondsPerSecond);
    due.tv_nsec += static_cast<long>(nanoseconds % kNanosecondsPerSecond);
    if (due.tv_nsec >= kNanosecondsPerSecond) {
        due.tv_nsec -= kNanosecondsPerSecond;
        ++due.tv_sec;
    }
    return due;
}

int CDelayTimer::Wait(std::int32_t durationUnits) {
    if (durationUnits <= 0) {
        return 0;
    }
    EnsureFineTimerSlack();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const timespec due = DueTimeAfter(now, durationUnits);
    // An absolute due time makes a wait interrupted by a signal resume without drifting.
    int result = 0;
    do {
        result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr);
    } while (result == EINTR);
    return result;
}
