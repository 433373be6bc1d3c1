#include "core/CSeededRandom.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;

std::uint64_t SplitMix(std::uint64_t& x) {
    x += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = x;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t RotateLeft(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

}  // namespace

CSeededRandom::CSeededRandom(std::uint64_t seed) {
    std::uint64_t x = seed;
    for (auto& word : state) {
        word = SplitMix(x);
    }
}

std::uint64_t CSeededRandom::Derive(std::uint64_t seed, SeedStream stream, std::uint64_t index) {
    std::uint64_t x = seed ^ (static_cast<std::uint64_t>(stream) * 0xD1B54A32D192ED03ULL);
    std::uint64_t mixed = SplitMix(x);
    x = mixed ^ (index * 0x8CB92BA72F3D8DD7ULL);
    return SplitMix(x);
}

std::uint64_t CSeededRandom::Next() {
    const std::uint64_t result = RotateLeft(state[1] * 5, 7) * 9;
    const std::uint64_t t = state[1] << 17;
    state[2] ^= state[0];
    state[3] ^= state[1];
    state[1] ^= state[2];
    state[0] ^= state[3];
    state[2] ^= t;
    state[3] = RotateLeft(state[3], 45);
    return result;
}

double CSeededRandom::Uniform() {
    // The top 53 bits make every double in [0, 1) of that spacing equally likely.
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double CSeededRandom::Gaussian() {
    if (hasSpare) {
        hasSpare = false;
        return spare;
    }
    // 1 - u lies in (0, 1], so the logarithm is finite.
    const double radius = std::sqrt(-2.0 * std::log(1.0 - Uniform()));
    const double angle = kTwoPi * Uniform();
    spare = radius * std::sin(angle);
    hasSpare = true;
    return radius * std::cos(angle);
}

double CSeededRandom::Exponential(double mean) {
    return -mean * std::log(1.0 - Uniform());
}
