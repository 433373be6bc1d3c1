#include "tests/support/PassbandSnr.h"

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <cmath>
#include <cstdlib>

namespace {

std::vector<std::complex<float>> Spectrum(const std::vector<float>& samples, std::size_t n,
                                          const std::vector<float>* subtract) {
    std::vector<std::complex<float>> in(n);
    std::vector<std::complex<float>> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double window = 0.5 - 0.5 * std::cos(2.0 * M_PI * static_cast<double>(i) / n);
        const float sample = subtract != nullptr ? samples[i] - (*subtract)[i] : samples[i];
        in[i] = static_cast<float>(window * sample);
    }
    fftplan plan =
        fft_create_plan(static_cast<unsigned int>(n), in.data(), out.data(), LIQUID_FFT_FORWARD, 0);
    fft_execute(plan);
    fft_destroy_plan(plan);
    return out;
}

}  // namespace

double MeasurePassbandSnrDb(const std::vector<float>& heard, const std::vector<float>& noiseAlone,
                            double toneHz, double sampleRate, double flatHalfWidthHz) {
    std::size_t n = 1;
    while (n * 2 <= heard.size() && n * 2 <= noiseAlone.size()) {
        n *= 2;
    }
    const std::vector<std::complex<float>> tone = Spectrum(heard, n, &noiseAlone);
    const std::vector<std::complex<float>> noise = Spectrum(noiseAlone, n, nullptr);

    const double binHz = sampleRate / static_cast<double>(n);
    const auto toneBin = static_cast<long>(std::lround(toneHz / binHz));
    // The Hann window spreads the tone over two bins each side; eight take all of it that counts.
    constexpr long kToneBins = 8;
    const auto flatBins = static_cast<long>(flatHalfWidthHz / binHz);
    double tonePower = 0.0;
    for (long k = toneBin - kToneBins; k <= toneBin + kToneBins; ++k) {
        tonePower += std::norm(tone[static_cast<std::size_t>(k)]);
    }
    double noisePower = 0.0;
    for (long k = toneBin - flatBins; k <= toneBin + flatBins; ++k) {
        noisePower += std::norm(noise[static_cast<std::size_t>(k)]);
    }
    const double perBin = noisePower / static_cast<double>(2 * flatBins + 1);
    return 10.0 * std::log10(tonePower / (perBin * 500.0 / binHz));
}
