#include "text/CRandomSource.h"

#include <chrono>

int CRandomSource::Next() {
    // Multiplier and increment of the classic 15-bit rand(); unsigned arithmetic wraps mod 2^32.
    state = state * 214013U + 2531011U;
    return static_cast<int>((state >> 16) & 0x7FFFU);
}

std::uint32_t CRandomSource::TickSeed() {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}
