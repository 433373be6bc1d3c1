#include "output/CFading.h"

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

namespace {

// The r.m.s. width of a second-order Butterworth power spectrum is its cut-off; the Doppler
// spread is twice the r.m.s. width.
constexpr double kCutoffPerSpread = 0.5;
// Steps of the control low-pass long enough for its impulse response and its start to die away.
constexpr int kSettlingSteps = 2000;

}  // namespace

CFading::CFading(double spreadHz, double sampleRate, std::uint64_t seed)
    : filter(MakeComplexLowPass(kControlCutoff)), random(seed) {
    const double cutoffHz = std::max(spreadHz, 0.001) * kCutoffPerSpread;
    stepSamples = std::max<std::int64_t>(1, std::llround(sampleRate / (cutoffHz / kControlCutoff)));
    // Unit mean power at the output: the filter's power gain is the energy of its impulse
    // response.
    double energy = 0.0;
    for (int step = 0; step < kSettlingSteps; ++step) {
        std::complex<float> out;
        iirfilt_crcf_execute(filter.get(), std::complex<float>(step == 0 ? 1.0F : 0.0F, 0.0F),
                             &out);
        energy += std::norm(out);
    }
    inputScale = static_cast<float>(1.0 / std::sqrt(energy));
    iirfilt_crcf_reset(filter.get());
    // Start in the process's steady state rather than at rest.
    for (int step = 0; step < kSettlingSteps; ++step) {
        NextControl();
    }
    from = NextControl();
    to = NextControl();
}

std::complex<float> CFading::NextControl() {
    const float re = static_cast<float>(random.Gaussian() * std::sqrt(0.5));
    const float im = static_cast<float>(random.Gaussian() * std::sqrt(0.5));
    std::complex<float> out;
    iirfilt_crcf_execute(filter.get(), std::complex<float>(re, im) * inputScale, &out);
    return out;
}

std::complex<float> CFading::Next() {
    if (position == stepSamples) {
        position = 0;
        from = to;
        to = NextControl();
    }
    const float share = static_cast<float>(position) / static_cast<float>(stepSamples);
    ++position;
    return from + (to - from) * share;
}

void CFading::Render(std::complex<float>* gains, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        gains[i] = Next();
    }
}

void CFading::RenderMagnitude(float* gains, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        gains[i] = std::abs(Next());
    }
}
