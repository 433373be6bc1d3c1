#include "output/CDelayTimer.h"

#include <sys/prctl.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "output/MonotonicClock.h"

namespace {

constexpr long kNanosecondsPerSecond = 1000000000L;
// The spin covers this many times the smoothed lateness: late wake-ups scatter well above it.
constexpr double kSpinPerLateness = 3.0;
// Weight of one wake-up in the smoothed lateness.
constexpr double kLatenessWeight = 0.1;
// A processor that has slept for a while wakes later and less predictably than one that has just
// run, and a second short sleep right after such a wake-up is no better: a sleep longer than
// kLongSleepNanoseconds ends kApproachNanoseconds early and the rest is waited out on the clock.
// At most 3 % of a processor, and only on the long steps of slow texts.
constexpr std::int64_t kLongSleepNanoseconds = 50000000;
constexpr std::int64_t kApproachNanoseconds = 1500000;

// Timer slack is a property of the thread; the default 50 us would blur every element edge.
void EnsureFineTimerSlack() {
    thread_local bool slackSet = false;
    if (!slackSet) {
        prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
        slackSet = true;
    }
}

timespec ToTimespec(std::int64_t nanoseconds) {
    timespec time{};
    time.tv_sec = static_cast<time_t>(nanoseconds / kNanosecondsPerSecond);
    time.tv_nsec = static_cast<long>(nanoseconds % kNanosecondsPerSecond);
    return time;
}

}  // namespace

CDelayTimer::~CDelayTimer() = default;

std::int64_t CDelayTimer::SpinNanoseconds() const {
    return std::clamp(static_cast<std::int64_t>(lateness * kSpinPerLateness), kMinSpinNanoseconds,
                      kMaxSpinNanoseconds);
}

int CDelayTimer::Wait(std::int32_t durationUnits) {
    if (durationUnits <= 0) {
        return 0;
    }
    return WaitUntil(MonotonicNanoseconds() + static_cast<std::int64_t>(durationUnits) * 100);
}

namespace {

// An absolute wake-up time makes a sleep interrupted by a signal resume without drifting.
int SleepUntil(std::int64_t nanoseconds) {
    const timespec until = ToTimespec(nanoseconds);
    int result = 0;
    do {
        result = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
    } while (result == EINTR);
    return result;
}

void SpinUntil(std::int64_t dueNanoseconds) {
    while (MonotonicNanoseconds() < dueNanoseconds) {
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
}

}  // namespace

int CDelayTimer::WaitUntil(std::int64_t dueNanoseconds, std::int64_t spinNanoseconds) {
    EnsureFineTimerSlack();
    int result = 0;
    if (dueNanoseconds - MonotonicNanoseconds() > spinNanoseconds) {
        result = SleepUntil(dueNanoseconds - spinNanoseconds);
    }
    SpinUntil(dueNanoseconds);
    return result;
}

int CDelayTimer::WaitUntil(std::int64_t dueNanoseconds) {
    EnsureFineTimerSlack();
    int result = 0;
    const auto sleepUntil = [&result](std::int64_t nanoseconds) {
        result = SleepUntil(nanoseconds);
    };
    if (dueNanoseconds - MonotonicNanoseconds() > kLongSleepNanoseconds) {
        sleepUntil(dueNanoseconds - kApproachNanoseconds);
    } else {
        const std::int64_t wake = dueNanoseconds - SpinNanoseconds();
        if (MonotonicNanoseconds() < wake) {
            sleepUntil(wake);
            const auto late = static_cast<double>(MonotonicNanoseconds() - wake);
            lateness += (std::max(0.0, late) - lateness) * kLatenessWeight;
        }
    }
    // The rest, at most one spin long, by reading the clock.
    SpinUntil(dueNanoseconds);
    return result;
}
