#pragma once

#include <memory>
#include <vector>

// Owning handles of liquid-dsp's filter objects, so that headers need not include liquid.h.
struct iirfilt_rrrf_s;
struct iirfilt_crcf_s;

struct LiquidFilterDeleter {
    void operator()(iirfilt_rrrf_s* filter) const;
    void operator()(iirfilt_crcf_s* filter) const;
};

using RealFilter = std::unique_ptr<iirfilt_rrrf_s, LiquidFilterDeleter>;
using ComplexFilter = std::unique_ptr<iirfilt_crcf_s, LiquidFilterDeleter>;

// The receiver's band-pass filter: a fourth-order Butterworth low-pass prototype turned into a
// band-pass `bandwidthHz` wide (between its half-power points), its edges half of it either side
// of `centreHz` (the lower one no lower than 30 Hz), in second-order sections, with unit gain in
// the passband. It rings as a receiver's CW filter does: the narrower, the longer.
RealFilter MakeReceiverFilter(double centreHz, double bandwidthHz, double sampleRate);
// The filter's equivalent noise bandwidth relative to its half-power bandwidth.
inline constexpr double kReceiverNoiseBandwidthShare = 1.0262;  // (pi / 8) / sin(pi / 8)

// A second-order Butterworth low-pass of cut-off `cutoff` (a share of the sample rate) for
// complex samples.
ComplexFilter MakeComplexLowPass(double cutoff);

// `samples` at `from` Hz resampled to `to` Hz through liquid-dsp's multi-stage resampler, with the
// stop band 80 dB down.
std::vector<float> Resampled(const std::vector<float>& samples, double from, double to);
