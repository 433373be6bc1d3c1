#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRate = CToneRenderer::kSampleRate;
constexpr float kProbeTone = 441.0F;

std::vector<float> RenderAll(CToneRenderer& renderer, std::size_t frames,
                             std::size_t bufferSize = 512) {
    std::vector<float> out(frames);
    for (std::size_t first = 0; first < frames; first += bufferSize) {
        const std::size_t count = std::min(bufferSize, frames - first);
        renderer.Render(out.data() + first, count, static_cast<std::int64_t>(first));
    }
    return out;
}

// Amplitude envelope by I/Q demodulation at the probe tone, low-passed with a Blackman window
// wide enough to remove the double-frequency term. The window is symmetric, so the half-amplitude
// point of a symmetric edge stays in place.
std::vector<double> Envelope(const std::vector<float>& x) {
    constexpr int kHalf = 400;
    std::vector<double> window(2 * kHalf + 1);
    double windowSum = 0;
    for (int k = 0; k <= 2 * kHalf; ++k) {
        const double t = static_cast<double>(k) / (2 * kHalf);
        window[static_cast<std::size_t>(k)] =
            0.42 - 0.5 * std::cos(2 * kPi * t) + 0.08 * std::cos(4 * kPi * t);
        windowSum += window[static_cast<std::size_t>(k)];
    }
    const double omega = 2 * kPi * kProbeTone / kRate;
    std::vector<double> in(x.size());
    std::vector<double> quadrature(x.size());
    for (std::size_t n = 0; n < x.size(); ++n) {
        in[n] = x[n] * std::sin(omega * static_cast<double>(n));
        quadrature[n] = x[n] * std::cos(omega * static_cast<double>(n));
    }
    std::vector<double> envelope(x.size(), 0.0);
    for (std::size_t n = kHalf; n + kHalf < x.size(); ++n) {
        double i = 0;
        double q = 0;
        for (std::size_t k = 0; k < window.size(); ++k) {
            i += window[k] * in[n + k - kHalf];
            q += window[k] * quadrature[n + k - kHalf];
        }
        envelope[n] = 2.0 * std::sqrt(i * i + q * q) / windowSum;
    }
    return envelope;
}

// Sample positions (with fractions) where the envelope crosses half of `full`.
std::vector<double> HalfCrossings(const std::vector<double>& envelope, double full) {
    std::vector<double> crossings;
    const double level = full / 2;
    for (std::size_t n = 1; n < envelope.size(); ++n) {
        const double a = envelope[n - 1] - level;
        const double b = envelope[n] - level;
        if ((a < 0) != (b < 0)) {
            crossings.push_back(static_cast<double>(n - 1) + a / (a - b));
        }
    }
    return crossings;
}

struct LengthCase {
    const char* name;
    std::int32_t durationUnits;
    std::int64_t samples;
};

class ElementLength : public testing::TestWithParam<LengthCase> {};

TEST_P(ElementLength, ExactSamplesWithHalfAmplitudeOnTheNominalEdges) {
    const LengthCase& c = GetParam();
    const std::int64_t length = CSoundCardOutput::SamplesFor(c.durationUnits);
    EXPECT_EQ(length, c.samples);
    CToneRenderer renderer;
    const std::int64_t start = 1000;
    ASSERT_TRUE(renderer.Push({start, length, kProbeTone}));
    const auto x = RenderAll(renderer, static_cast<std::size_t>(start + length + 2000));
    const auto crossings = HalfCrossings(Envelope(x), 1.0);
    ASSERT_EQ(crossings.size(), 2u);
    EXPECT_NEAR(crossings[0], static_cast<double>(start), 0.1);
    EXPECT_NEAR(crossings[1], static_cast<double>(start + length), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ElementLength,
                         testing::Values(LengthCase{"Ms30", 300000, 1323},
                                         LengthCase{"Ms60", 600000, 2646},
                                         LengthCase{"Ms400", 4000000, 17640},
                                         LengthCase{"LongerThanOldBuffer", 6000000, 26460}),
                         [](const testing::TestParamInfo<LengthCase>& param) {
                             return std::string(param.param.name);
                         });

TEST(ToneRenderer, NoSilentOrNegativeDurationTone) {
    EXPECT_EQ(CSoundCardOutput::SamplesFor(0), 0);
    EXPECT_EQ(CSoundCardOutput::SamplesFor(-5), 0);
    EXPECT_EQ(CSoundCardOutput::SamplesFor(1), 0);
    EXPECT_EQ(CSoundCardOutput::SamplesFor(227), 1);  // 1.0 sample rounds to 1
}

TEST(ToneRenderer, NoClicks) {
    for (const float tone : {400.0F, 700.0F, 1000.0F}) {
        CToneRenderer renderer;
        // Dots at 200 characters per minute: 30 ms on, 30 ms off.
        for (int i = 0; i < 16; ++i) {
            renderer.Push({1000 + i * 2646, 1323, tone});
        }
        const auto x = RenderAll(renderer, 48000, 256);
        double largestStep = 0;
        for (std::size_t n = 1; n < x.size(); ++n) {
            largestStep = std::max(largestStep, std::fabs(static_cast<double>(x[n] - x[n - 1])));
        }
        // A full-scale sine steps by at most 2 sin(pi f / rate); the edges add little to that.
        EXPECT_LT(largestStep, 2 * std::sin(kPi * tone / kRate) + 0.01) << tone;
        EXPECT_GT(largestStep, 2 * std::sin(kPi * tone / kRate) * 0.9) << tone;
    }
}

double PowerAt(const std::vector<float>& x, double frequency) {
    // Hann-windowed single-bin DFT.
    std::complex<double> sum = 0;
    const double n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double window = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / n);
        const double angle = -2 * kPi * frequency * static_cast<double>(i) / kRate;
        sum += window * x[i] * std::complex<double>(std::cos(angle), std::sin(angle));
    }
    return std::norm(sum);
}

TEST(ToneRenderer, KeyingSidebandsAreSixtyDecibelsDownHalfAKilohertzAway) {
    CToneRenderer renderer;
    const float tone = 600.0F;
    for (int i = 0; i < 30; ++i) {
        renderer.Push({2000 + i * 2646, 1323, tone});
    }
    const auto x = RenderAll(renderer, 44100, 441);
    const double carrier = PowerAt(x, tone);
    for (const double offset : {-500.0, 500.0, 800.0}) {
        const double decibels = 10 * std::log10(carrier / PowerAt(x, tone + offset));
        EXPECT_GT(decibels, 60.0) << offset;
    }
}

TEST(ToneRenderer, PhaseContinuesAcrossBuffersOfAnySize) {
    std::mt19937 random(3);
    CToneRenderer whole;
    CToneRenderer pieces;
    for (int i = 0; i < 10; ++i) {
        const ToneEvent event{500 + i * 3000, 1500 + i * 7, 450.0F + static_cast<float>(i * 50)};
        whole.Push(event);
        pieces.Push(event);
    }
    const auto expected = RenderAll(whole, 34000, 34000);
    std::vector<float> actual(34000);
    for (std::size_t first = 0; first < actual.size();) {
        const std::size_t count = std::min<std::size_t>(1 + random() % 700, actual.size() - first);
        pieces.Render(actual.data() + first, count, static_cast<std::int64_t>(first));
        first += count;
    }
    EXPECT_EQ(actual, expected);
}

TEST(ToneRenderer, VolumeZeroIsSilenceAndFullIsFullScale) {
    CToneRenderer quiet;
    quiet.SetGain(0.0F);
    std::vector<float> settle(64);
    quiet.Render(settle.data(), settle.size(), 0);
    quiet.Push({1000, 4410, 600.0F});
    std::vector<float> silent(8000);
    quiet.Render(silent.data(), silent.size(), 64);
    for (const float sample : silent) {
        ASSERT_EQ(sample, 0.0F);
    }

    CToneRenderer loud;
    loud.Push({1000, 4410, 600.0F});
    const auto x = RenderAll(loud, 8000);
    float peak = 0;
    for (const float sample : x) {
        peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_GT(peak, 0.99F);
    EXPECT_LE(peak, 1.0F);
}

int ZeroCrossings(const std::vector<float>& x, std::size_t from, std::size_t to) {
    int crossings = 0;
    for (std::size_t n = from + 1; n < to; ++n) {
        crossings += (x[n - 1] < 0) != (x[n] < 0) ? 1 : 0;
    }
    return crossings;
}

TEST(ToneRenderer, EachToneKeepsItsOwnFrequency) {
    CToneRenderer renderer;
    renderer.Push({1000, 4410, 500.0F});
    renderer.Push({8000, 4410, 800.0F});
    const auto x = RenderAll(renderer, 14000);
    // 0.1 s of tone: about 2 zero crossings per cycle in the steady middle part.
    EXPECT_NEAR(ZeroCrossings(x, 1300, 5100), 2 * 500 * 3800 / 44100.0, 2);
    EXPECT_NEAR(ZeroCrossings(x, 8300, 12100), 2 * 800 * 3800 / 44100.0, 2);
}

TEST(ToneRenderer, LateEventStartsAtOnceWithItsLengthAndIsCounted) {
    CToneRenderer renderer;
    std::vector<float> first(4000);
    renderer.Render(first.data(), first.size(), 0);
    renderer.Push({3000, 2646, kProbeTone});  // its sample has already been rendered
    std::vector<float> x(4000, 0.0F);
    x.resize(12000);
    renderer.Render(x.data() + 4000, 8000, 4000);
    EXPECT_EQ(renderer.LateEvents(), 1u);
    const auto crossings = HalfCrossings(Envelope(x), 1.0);
    ASSERT_EQ(crossings.size(), 2u);
    EXPECT_NEAR(crossings[1] - crossings[0], 2646, 0.1);
    EXPECT_NEAR(crossings[0], 4000 + CToneRenderer::kRampSamples / 2, 0.1);
}

}  // namespace
