#pragma once

#include <array>
#include <cstdint>

// The parts of a transmission that draw random numbers, each from a stream of its own, so that
// switching one part on or off never changes what another draws from the same seed.
enum class SeedStream : std::uint64_t {
    kWantedFist = 1,
    kNoise = 2,
    kFading = 3,
    kStatic = 4,
    kInterference = 5,
};

// A seeded pseudo-random generator (xoshiro256**, its state filled by splitmix64): the same seed
// gives the same numbers on every run and every thread, and drawing never allocates, locks or
// calls the system, so that it may run on the audio callback. One owner at a time.
class CSeededRandom {
public:
    explicit CSeededRandom(std::uint64_t seed);

    // The seed of one part of a transmission keyed with `seed`.
    static std::uint64_t Derive(std::uint64_t seed, SeedStream stream, std::uint64_t index = 0);

    std::uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Uniform in [low, high).
    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }
    // Standard normal (the second value of a pair is kept for the next call).
    double Gaussian();
    // Exponentially distributed with this mean.
    double Exponential(double mean);

private:
    std::array<std::uint64_t, 4> state{};
    double spare = 0.0;
    bool hasSpare = false;
};
