#include "text/CRandomSource.h"

#include <array>
#include <chrono>

namespace {

// Multiplier and increment of the classic 15-bit rand(); unsigned arithmetic wraps mod 2^32.
constexpr std::uint32_t kMultiplier = 214013U;
constexpr std::uint32_t kIncrement = 2531011U;

constexpr int kLanes = 8;

// Step j of the generator from a state s is s * multipliers[j] + increments[j], so that kLanes
// successive values can be computed independently of each other.
struct Jumps {
    std::array<std::uint32_t, kLanes> multipliers{};
    std::array<std::uint32_t, kLanes> increments{};
};

constexpr Jumps MakeJumps() {
    Jumps jumps;
    std::uint32_t multiplier = 1;
    std::uint32_t increment = 0;
    for (int j = 0; j < kLanes; ++j) {
        multiplier *= kMultiplier;
        increment = increment * kMultiplier + kIncrement;
        jumps.multipliers[static_cast<std::size_t>(j)] = multiplier;
        jumps.increments[static_cast<std::size_t>(j)] = increment;
    }
    return jumps;
}

constexpr Jumps kJumps = MakeJumps();

int ValueOf(std::uint32_t state) {
    return static_cast<int>((state >> 16) & 0x7FFFU);
}

}  // namespace

int CRandomSource::Next() {
    state = state * kMultiplier + kIncrement;
    return ValueOf(state);
}

int CRandomSource::NextBelow(int bound) {
    // Rejection over a small set throws away thousands of values per draw; looking at kLanes
    // values at a time breaks the serial dependency of the generator and runs several times
    // faster while producing exactly the same sequence.
    for (;;) {
        std::array<std::uint32_t, kLanes> states{};
        for (std::size_t j = 0; j < kLanes; ++j) {
            states[j] = state * kJumps.multipliers[j] + kJumps.increments[j];
        }
        for (std::size_t j = 0; j < kLanes; ++j) {
            if (ValueOf(states[j]) < bound) {
                state = states[j];
                return ValueOf(state);
            }
        }
        state = states[kLanes - 1];
    }
}

std::uint32_t CRandomSource::TickSeed() {
    const auto sinceBoot = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceBoot).count());
}
