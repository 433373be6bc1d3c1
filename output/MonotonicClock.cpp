#include "output/MonotonicClock.h"

#include <cerrno>
#include <ctime>

namespace {

constexpr std::int64_t kNanosecondsPerSecond = 1000000000;

}  // namespace

std::int64_t MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * kNanosecondsPerSecond + now.tv_nsec;
}

void SleepUntilNanoseconds(std::int64_t deadline) {
    timespec due{};
    due.tv_sec = static_cast<time_t>(deadline / kNanosecondsPerSecond);
    due.tv_nsec = static_cast<long>(deadline % kNanosecondsPerSecond);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
}
