#include "output/CFading.h"

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

namespace {

// For a Rayleigh process whose complex spectrum has the r.m.s. width f, the level crossing rate
// at r = rho times the r.m.s. level is 2 sqrt(pi) f rho exp(-rho^2) (Clarke's sqrt(2 pi) f_m for
// the Jakes spectrum, whose r.m.s. width is f_m / sqrt 2); at the median, rho^2 = ln 2, that is
// sqrt(pi ln 2) f = 1.4757 f. The r.m.s. width of a second-order Butterworth power spectrum is
// its cut-off.
constexpr double kMedianCrossingsPerCutoff = 1.4757;
// Steps of the control low-pass long enough for its impulse response and its start to die away.
constexpr int kSettlingSteps = 2000;

}  // namespace

CFading::CFading(double fadeDepth, double periodSeconds, double sampleRate, std::uint64_t seed)
    : filter(MakeComplexLowPass(kControlCutoff)),
      random(seed),
      depth(static_cast<float>(std::clamp(fadeDepth, 0.0, 1.0))) {
    const double cutoffHz = 1.0 / (kMedianCrossingsPerCutoff * std::max(periodSeconds, 0.01));
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

void CFading::Render(float* gains, std::size_t frames) {
    const float step = static_cast<float>(stepSamples);
    for (std::size_t i = 0; i < frames; ++i) {
        if (position == stepSamples) {
            position = 0;
            from = to;
            to = NextControl();
        }
        const float share = static_cast<float>(position) / step;
        const float r = std::sqrt(std::norm(from + (to - from) * share));
        gains[i] = (1.0F - depth) + depth * r;
        ++position;
    }
}
