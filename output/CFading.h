#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>

#include "core/CSeededRandom.h"
#include "output/LiquidFilters.h"

// The fading (QSB) of one propagation path: its gain is a complex Gaussian process of unit mean
// power (Rayleigh in magnitude, its phase turning as the ionosphere moves), low-pass filtered so
// that its Doppler spread, twice the r.m.s. width of its spectrum, is `spreadHz`, as in the
// Watterson model of an HF channel. The process is drawn at a slow control rate and interpolated
// to every sample. Render never allocates, locks or calls the system; one thread at a time.
class CFading {
public:
    // The cut-off of the control rate's low-pass, as a share of that rate.
    static constexpr double kControlCutoff = 0.02;

    CFading(double spreadHz, double sampleRate, std::uint64_t seed);

    // The complex gains of the next `frames` samples.
    void Render(std::complex<float>* gains, std::size_t frames);
    // Their magnitudes only, for a sound whose phase does not matter.
    void RenderMagnitude(float* gains, std::size_t frames);

private:
    std::complex<float> NextControl();
    std::complex<float> Next();

    ComplexFilter filter;
    CSeededRandom random;
    float inputScale = 1.0F;
    std::int64_t stepSamples = 1;
    std::int64_t position = 0;
    std::complex<float> from;
    std::complex<float> to;
};
