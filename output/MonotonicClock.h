#pragma once

#include <cstdint>

// The monotonic clock in nanoseconds (the clock of std::chrono::steady_clock). Read through the
// vDSO, so it is cheap enough for the audio callback.
std::int64_t MonotonicNanoseconds();

// Sleeps until the monotonic clock reaches `deadline` nanoseconds; returns at once if it has.
void SleepUntilNanoseconds(std::int64_t deadline);
