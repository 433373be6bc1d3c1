#include "output/LiquidFilters.h"

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>

void LiquidFilterDeleter::operator()(iirfilt_rrrf_s* filter) const {
    iirfilt_rrrf_destroy(filter);
}

void LiquidFilterDeleter::operator()(iirfilt_crcf_s* filter) const {
    iirfilt_crcf_destroy(filter);
}

RealFilter MakeReceiverFilter(double centreHz, double bandwidthHz, double sampleRate) {
    // The half-power edges lie half the bandwidth either side of the tone, as a CW filter's do
    // around the pitch; a band wider than twice the tone keeps its lower edge at the floor.
    constexpr double kLowestEdgeHz = 30.0;
    constexpr double kNyquistShare = 0.499;
    const double lower = std::max(centreHz - bandwidthHz / 2.0, kLowestEdgeHz) / sampleRate;
    const double upper = std::min((centreHz + bandwidthHz / 2.0) / sampleRate, kNyquistShare);
    // liquid's band-pass transform puts the prototype's cut-off on the upper edge and the lower
    // edge where the transform's centre says: cos(2 pi centre) = cos(pi (upper + lower)) /
    // cos(pi (upper - lower)).
    constexpr double kPi = 3.14159265358979323846;
    const double centre =
        std::acos(std::cos(kPi * (upper + lower)) / std::cos(kPi * (upper - lower))) / (2.0 * kPi);
    return RealFilter(iirfilt_rrrf_create_prototype(LIQUID_IIRDES_BUTTER, LIQUID_IIRDES_BANDPASS,
                                                    LIQUID_IIRDES_SOS, 4, static_cast<float>(upper),
                                                    static_cast<float>(centre), 1.0F, 60.0F));
}

ComplexFilter MakeComplexLowPass(double cutoff) {
    return ComplexFilter(iirfilt_crcf_create_lowpass(2, static_cast<float>(cutoff)));
}

std::vector<float> Resampled(const std::vector<float>& samples, double from, double to) {
    constexpr float kSuppression = 80.0F;
    const auto rate = static_cast<float>(to / from);
    std::vector<float> output(
        static_cast<std::size_t>(std::ceil(static_cast<double>(samples.size()) * rate)) + 64);
    unsigned int produced = 0;
    msresamp_rrrf resampler = msresamp_rrrf_create(rate, kSuppression);
    // The resampler takes a writable input.
    std::vector<float> input = samples;
    msresamp_rrrf_execute(resampler, input.data(), static_cast<unsigned int>(input.size()),
                          output.data(), &produced);
    msresamp_rrrf_destroy(resampler);
    output.resize(std::min<std::size_t>(produced, output.size()));
    return output;
}
