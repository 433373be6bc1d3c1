#include "core/CSeededRandom.h"

#include <cmath>

namespace {

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
    // Marsaglia's polar method: a point drawn uniformly in the unit disc (about one in five
    // squares is drawn again) gives two independent normal values without a sine or cosine.
    double x = 0.0;
    double y = 0.0;
    double square = 0.0;
    do {
        x = 2.0 * Uniform() - 1.0;
        y = 2.0 * Uniform() - 1.0;
        square = x * x + y * y;
    } while (square >= 1.0 || square == 0.0);
    const double scale = std::sqrt(-2.0 * std::log(square) / square);
    spare = y * scale;
    hasSpare = true;
    return x * scale;
}

double CSeededRandom::Exponential(double mean) {
    return -mean * std::log(1.0 - Uniform());
}
