#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

#include "core/CSeededRandom.h"
#include "output/LiquidFilters.h"

// Slow Rayleigh-like fading (QSB) of a signal: the gain (1 - depth) + depth * r(t), where r is
// the magnitude of a complex Gaussian process of unit mean power, low-pass filtered so that r
// falls through its median once per `periodSeconds` on average. The process is drawn at a slow
// control rate and interpolated to every sample. Render never allocates, locks or calls the
// system; one thread at a time.
class CFading {
public:
    // The cut-off of the control rate's low-pass, as a share of that rate.
    static constexpr double kControlCutoff = 0.02;

    CFading(double depth, double periodSeconds, double sampleRate, std::uint64_t seed);

    // The gains of the next `frames` samples.
    void Render(float* gains, std::size_t frames);

private:
    std::complex<float> NextControl();

    ComplexFilter filter;
    CSeededRandom random;
    float depth;
    float inputScale = 1.0F;
    std::int64_t stepSamples = 1;
    std::int64_t position = 0;
    std::complex<float> from;
    std::complex<float> to;
};
