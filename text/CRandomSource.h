#pragma once

#include <cstdint>

// The generator's random numbers: a 15-bit linear congruential generator (values 0 to 32767), so
// that rejection sampling over a small set needs few draws. Owned by one thread at a time.
class CRandomSource {
public:
    static constexpr int kMax = 32767;

    explicit CRandomSource(std::uint32_t seed) : state(seed) {}

    int Next();
    // The first of the following values that is below `bound` (1 to 32768), leaving the generator
    // exactly where as many Next() calls would: values at or above the bound are thrown away.
    int NextBelow(int bound);

    // Milliseconds of the monotonic clock, the seed of every generated text.
    static std::uint32_t TickSeed();

private:
    std::uint32_t state;
};
