#include <gtest/gtest.h>

#include <complex>
// The std::complex definition above makes liquid's complex type std::complex<float>.
#include <liquid/liquid.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/CMorseTable.h"
#include "core/CSeededRandom.h"
#include "output/CFading.h"
#include "output/CInterferingStation.h"
#include "output/CReceptionConditions.h"
#include "output/CStaticCrashes.h"
#include "output/LiquidFilters.h"
#include "tests/support/CaseName.h"
#include "tests/support/PassbandSnr.h"

namespace {

constexpr double kRate = 44100.0;
constexpr double kTwoPi = 6.283185307179586;

// A keyed wanted signal: `keyDown` and `keyUp` samples alternating, with raised-cosine edges of
// 220 samples, at `toneHz` and `amplitude`; the envelope too.
struct Keyed {
    std::vector<float> samples;
    std::vector<float> envelope;
};

Keyed KeyedSignal(std::size_t frames, int toneHz, float amplitude, std::size_t keyDown,
                  std::size_t keyUp) {
    Keyed keyed;
    keyed.samples.resize(frames);
    keyed.envelope.resize(frames);
    constexpr std::size_t kEdge = 220;
    for (std::size_t i = 0; i < frames; ++i) {
        const std::size_t at = i % (keyDown + keyUp);
        double envelope = at < keyDown ? 1.0 : 0.0;
        if (at < kEdge) {
            envelope = 0.5 - 0.5 * std::cos(kTwoPi / 2.0 * static_cast<double>(at) / kEdge);
        } else if (at >= keyDown && at < keyDown + kEdge) {
            envelope =
                0.5 + 0.5 * std::cos(kTwoPi / 2.0 * static_cast<double>(at - keyDown) / kEdge);
        }
        keyed.envelope[i] = static_cast<float>(envelope);
        keyed.samples[i] = static_cast<float>(
            amplitude * envelope * std::sin(kTwoPi * toneHz * static_cast<double>(i) / kRate));
    }
    return keyed;
}

ReceptionSettings EverythingAtItsHighest() {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = ReceptionSettings::kLowestSnrDb;
    settings.filterHz = 250;
    settings.fading = true;
    settings.fadingDepthPercent = 100;
    settings.fadingSeconds = ReceptionSettings::kShortestFadingSeconds;
    settings.staticCrashes = true;
    settings.staticPerMinute = ReceptionSettings::kHighestStaticRate;
    settings.interference = true;
    settings.stations = ReceptionSettings::kMostStations;
    settings.chirp = true;
    settings.chirpHz = ReceptionSettings::kHighestChirpHz;
    settings.keyClicks = true;
    settings.fist = FistKind::kStraightKey;
    return settings;
}

std::vector<float> Rendered(const ReceptionSettings& settings, std::uint64_t seed,
                            const Keyed& keyed, std::size_t block, int toneHz = 600) {
    CReceptionConditions conditions(settings, seed, toneHz, 0.25F);
    std::vector<float> samples = keyed.samples;
    for (std::size_t at = 0; at < samples.size(); at += block) {
        const std::size_t count = std::min(block, samples.size() - at);
        conditions.Render(samples.data() + at, keyed.envelope.data() + at, count);
    }
    return samples;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// With no sound condition on, the sound is the clean keyed signal to the bit, whatever the fist.
TEST(ReceptionConditions, AllOffPassesTheInputUnchanged) {
    const Keyed keyed = KeyedSignal(20000, 650, 0.8F, 3000, 2000);
    for (const FistKind fist : {FistKind::kNone, FistKind::kBug}) {
        ReceptionSettings settings;
        settings.fist = fist;
        settings.stations = 5;  // without interference on, no station is heard
        settings.snrDb = -10;
        CReceptionConditions conditions(settings, 99, 650);
        EXPECT_TRUE(conditions.PassesThrough());
        std::vector<float> samples = keyed.samples;
        conditions.Render(samples.data(), nullptr, samples.size());
        EXPECT_TRUE(SameBits(samples, keyed.samples));
    }
}

// Everything on at its highest: the same seed gives the same samples in blocks of any size, live
// or at once; another seed gives another sound.
TEST(ReceptionConditions, OneSeedOneSoundInBlocksOfAnySize) {
    const Keyed keyed = KeyedSignal(3 * 44100, 600, 1.0F, 5000, 4000);
    const ReceptionSettings settings = EverythingAtItsHighest();
    const std::vector<float> whole = Rendered(settings, 2024, keyed, keyed.samples.size());
    for (const std::size_t block : {1, 7, 64, 256, 441, 1000, 4096}) {
        EXPECT_TRUE(SameBits(Rendered(settings, 2024, keyed, block), whole)) << block;
    }
    EXPECT_FALSE(SameBits(Rendered(settings, 2025, keyed, 512), whole));
    EXPECT_FALSE(SameBits(whole, keyed.samples));
    for (const float sample : whole) {
        ASSERT_TRUE(std::isfinite(sample));
        ASSERT_LE(std::fabs(sample), 1.0F);
    }
}

struct SnrCase {
    std::string name;
    int snrDb;
    int filterHz;
    int toneHz;
};

class NoiseLevel : public testing::TestWithParam<SnrCase> {};

// The noise heard in the flat part of the passband stands to a steady tone as asked, measured
// over twelve seconds: some 1200 to 4000 bins, a few tenths of a dB at most by chance.
// The passband is flat within a fifth of its width of the tone, and for a wide filter around a
// low tone, within half the tone's frequency.
TEST_P(NoiseLevel, PassbandSnrIsTheAskedOne) {
    const SnrCase& c = GetParam();
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = c.snrDb;
    settings.filterHz = c.filterHz;
    // The rendering of silence is subtracted: the receiver must be linear, its gain fixed.
    settings.agc = ReceptionSettings::Agc::kOff;
    const std::size_t settle = 22050;
    const Keyed steady = KeyedSignal(settle + (1U << 19), c.toneHz, 0.25F, 1U << 30, 0);
    Keyed silence = steady;
    std::fill(silence.samples.begin(), silence.samples.end(), 0.0F);
    const auto tail = [settle](const std::vector<float>& samples) {
        return std::vector<float>(samples.begin() + static_cast<long>(settle), samples.end());
    };
    const std::vector<float> heard = tail(Rendered(settings, 7, steady, 4096, c.toneHz));
    const std::vector<float> noise = tail(Rendered(settings, 7, silence, 4096, c.toneHz));
    const double flat = std::min(c.filterHz / 5.0, c.toneHz / 2.0);
    EXPECT_NEAR(MeasurePassbandSnrDb(heard, noise, c.toneHz, kRate, flat), c.snrDb, 0.6);
}

INSTANTIATE_TEST_SUITE_P(Ratios, NoiseLevel,
                         testing::Values(SnrCase{"Minus10In500", -10, 500, 600},
                                         SnrCase{"Minus10In2400", -10, 2400, 700},
                                         SnrCase{"Zero250", 0, 250, 450},
                                         SnrCase{"Ten2400", 10, 2400, 600},
                                         SnrCase{"Twenty500", 20, 500, 1000},
                                         SnrCase{"Thirty250", 30, 250, 800}),
                         CaseName());

// The receiver filter's half-power points lie half the bandwidth either side of the tone, at every
// tone; it passes the tone at unit gain and keeps out what lies two bandwidths away. A band wider
// than twice the tone keeps its lower edge near the floor.
TEST(ReceiverFilter, BandwidthAndCentreAsAsked) {
    for (const double bandwidth : {250.0, 500.0, 1000.0, 2400.0}) {
        for (const double centre : {400.0, 700.0, 1000.0}) {
            RealFilter filter = MakeReceiverFilter(centre, bandwidth, kRate);
            const auto gain = [&](double hz) {
                std::complex<float> response;
                iirfilt_rrrf_freqresponse(filter.get(), static_cast<float>(hz / kRate), &response);
                return std::abs(response);
            };
            EXPECT_NEAR(gain(centre), 1.0, 0.01);
            double lowest = 0.0;
            double highest = 0.0;
            for (double hz = 1.0; hz < 6000.0; hz += 0.5) {
                if (gain(hz) >= std::sqrt(0.5)) {
                    lowest = lowest == 0.0 ? hz : lowest;
                    highest = hz;
                }
            }
            const double upper = centre + bandwidth / 2.0;
            const double lower = std::max(centre - bandwidth / 2.0, 30.0);
            EXPECT_NEAR(highest, upper, 0.02 * bandwidth) << bandwidth << " " << centre;
            EXPECT_NEAR(lowest, lower, 0.02 * bandwidth) << bandwidth << " " << centre;
            if (bandwidth < centre) {
                EXPECT_LT(gain(centre + 2.0 * bandwidth), 0.1) << bandwidth << " " << centre;
            }
        }
    }
}

struct FadingCase {
    std::string name;
    double spreadHz;
};

class Fading : public testing::TestWithParam<FadingCase> {};

// Over a thousand and more fades: the gain's magnitude r is of a Rayleigh distribution of unit
// mean power, and falls through its median as often as the Doppler spread makes it. The bounds
// are about four standard errors of these counts and far from a wrong distribution or a wrong
// time scale.
TEST_P(Fading, RayleighAtTheSpreadAsked) {
    const FadingCase& c = GetParam();
    const double sampleRate = std::max(200.0, 100.0 * c.spreadHz);
    const double period = ReceptionSettings::kFadeSecondsTimesHertz / c.spreadHz;
    const auto frames = static_cast<std::size_t>(1500.0 * period * sampleRate);
    CFading fading(c.spreadHz, sampleRate, 31337);
    std::vector<std::complex<float>> gains(frames);
    fading.Render(gains.data(), frames);

    const double medianR = std::sqrt(std::log(2.0));
    double power = 0.0;
    std::size_t belowMedian = 0;
    std::size_t deepFades = 0;
    std::size_t crossings = 0;
    bool wasAbove = true;
    for (const std::complex<float> gain : gains) {
        const double r = std::abs(gain);
        power += r * r;
        belowMedian += r < medianR ? 1 : 0;
        deepFades += r < 0.3 ? 1 : 0;
        const bool above = r >= medianR;
        crossings += wasAbove && !above ? 1 : 0;
        wasAbove = above;
    }
    const double n = static_cast<double>(frames);
    EXPECT_NEAR(power / n, 1.0, 0.08);
    EXPECT_NEAR(belowMedian / n, 0.5, 0.04);
    // P(r < 0.3) = 1 - exp(-0.09) for Rayleigh.
    EXPECT_NEAR(deepFades / n, 1.0 - std::exp(-0.09), 0.015);
    const double meanPeriod = n / sampleRate / static_cast<double>(crossings);
    EXPECT_NEAR(meanPeriod, period, 0.12 * period);
}

INSTANTIATE_TEST_SUITE_P(Presets, Fading,
                         testing::Values(FadingCase{"Quiet", 0.1}, FadingCase{"Moderate", 0.5},
                                         FadingCase{"Disturbed", 1.0}, FadingCase{"Flutter", 10.0}),
                         CaseName());

struct StaticCase {
    std::string name;
    double perMinute;
};

class StaticCrashes : public testing::TestWithParam<StaticCase> {};

// Crashes come at the asked rate, in bursts: over a thousand expected, their number lies within
// a few standard deviations of the rate (a burst's count is geometric, its variance twice its
// mean: the count's variance is five times its mean), the gaps between them spread far more than
// a Poisson process's (bursts, not a steady drizzle), and their levels cover the 40 dB range.
TEST_P(StaticCrashes, RateAsAskedInBursts) {
    constexpr double kSampleRate = 2000.0;
    const double perSecond = GetParam().perMinute / 60.0;
    const double seconds = 1000.0 / perSecond;
    const auto frames = static_cast<std::size_t>(seconds * kSampleRate);
    CStaticCrashes crashes(GetParam().perMinute, kSampleRate, 1.0, 4242);
    std::vector<float> out(20, 0.0F);
    std::vector<double> starts;
    for (std::size_t done = 0; done < frames; done += out.size()) {
        const int before = crashes.Started().crashes;
        crashes.Render(out.data(), out.size());
        if (crashes.Started().crashes > before) {
            starts.push_back(static_cast<double>(done) / kSampleRate);
        }
    }
    const double count = crashes.Started().crashes;
    EXPECT_NEAR(count, 1000.0, 4.0 * std::sqrt(5.0 * 1000.0));
    double sum = 0.0;
    double squares = 0.0;
    for (std::size_t i = 1; i < starts.size(); ++i) {
        const double interval = starts[i] - starts[i - 1];
        sum += interval;
        squares += interval * interval;
    }
    const double intervals = static_cast<double>(starts.size() - 1);
    const double mean = sum / intervals;
    EXPECT_GT(std::sqrt(squares / intervals - mean * mean) / mean, 1.3);
    EXPECT_LT(crashes.Started().lowestDb, CStaticCrashes::kLowestLevelDb + 1.0);
    EXPECT_GT(crashes.Started().highestDb, CStaticCrashes::kHighestLevelDb - 1.0);
}

INSTANTIATE_TEST_SUITE_P(Rates, StaticCrashes,
                         testing::Values(StaticCase{"TwelveAMinute", 12.0},
                                         StaticCase{"SixtyAMinute", 60.0}),
                         CaseName());

// Interfering stations are drawn within the passband or just beside it, weaker or a little
// stronger than the wanted one, at the speeds of the lists, with texts the table can key.
TEST(InterferingStations, DrawnWithinTheirRanges) {
    CSeededRandom random(5);
    int inside = 0;
    for (int i = 0; i < 2000; ++i) {
        const double filterHz = i % 2 == 0 ? 250.0 : 2400.0;
        const CInterferingStation::Traits station = CInterferingStation::Draw(random, filterHz);
        EXPECT_LE(std::fabs(station.offsetHz), filterHz / 2.0 + 200.0);
        inside += std::fabs(station.offsetHz) < filterHz / 2.0 ? 1 : 0;
        EXPECT_GE(20.0 * std::log10(station.level), -12.0 - 1e-9);
        EXPECT_LE(20.0 * std::log10(station.level), 3.0 + 1e-9);
        EXPECT_GE(station.signSpeed, 60);
        EXPECT_LE(station.signSpeed, 200);
        ASSERT_GT(station.textLength, 5U);
        for (const char c : station.Text()) {
            EXPECT_TRUE(c == ' ' || CMorseTable::HasCode(c)) << station.Text();
        }
    }
    EXPECT_GT(inside, 800);
}

// A station is heard at its own tone: the strongest line of the heard spectrum, with no wanted
// signal, lies at the wanted tone plus the station's offset.
TEST(InterferingStations, HeardAtTheirOffset) {
    ReceptionSettings settings;
    settings.interference = true;
    settings.stations = 1;
    settings.filterHz = 2400;
    int checked = 0;
    for (std::uint64_t seed = 1; checked < 3 && seed < 50; ++seed) {
        CReceptionConditions conditions(settings, seed, 600, 0.25F);
        const double hz = 600.0 + conditions.Stations()[0].offsetHz;
        if (hz < 300.0 || hz > 2300.0) {
            continue;
        }
        ++checked;
        std::vector<float> samples(1U << 19, 0.0F);
        conditions.Render(samples.data(), nullptr, samples.size());
        std::vector<std::complex<float>> in(samples.begin(), samples.end());
        std::vector<std::complex<float>> out(in.size());
        fftplan plan = fft_create_plan(static_cast<unsigned int>(in.size()), in.data(), out.data(),
                                       LIQUID_FFT_FORWARD, 0);
        fft_execute(plan);
        fft_destroy_plan(plan);
        std::size_t peak = 1;
        for (std::size_t k = 1; k < out.size() / 2; ++k) {
            peak = std::norm(out[k]) > std::norm(out[peak]) ? k : peak;
        }
        EXPECT_NEAR(static_cast<double>(peak) * kRate / static_cast<double>(out.size()), hz, 3.0)
            << seed;
    }
    EXPECT_EQ(checked, 3);
}

// A pile-up's callers wait while the wanted station keys and answer a moment after it stops: no
// caller is heard before the stop has lasted 1.2 s, and one is within a second after that.
TEST(InterferingStations, PileUpAnswersWhenTheWantedStationStops) {
    ReceptionSettings settings;
    settings.interference = true;
    settings.stations = ReceptionSettings::kMostStations;
    settings.pileUp = true;
    settings.agc = ReceptionSettings::Agc::kOff;
    const auto second = static_cast<std::size_t>(kRate);
    std::vector<float> samples(8 * second, 0.0F);
    for (std::size_t i = 0; i < 2 * second; ++i) {
        samples[i] = 0.25F * static_cast<float>(std::sin(2.0 * M_PI * 600.0 * i / kRate));
    }
    CReceptionConditions conditions(settings, 11, 600, 0.25F);
    conditions.Render(samples.data(), nullptr, samples.size());
    const auto power = [&](double from, double to) {
        double sum = 0.0;
        for (auto i = static_cast<std::size_t>(from * kRate);
             i < static_cast<std::size_t>(to * kRate); ++i) {
            sum += samples[i] * samples[i];
        }
        return sum / ((to - from) * kRate);
    };
    // The wanted tone stops at 2 s; the filter's ringing is gone well before 2.3 s.
    EXPECT_LT(power(2.3, 3.2), 1e-8);
    EXPECT_GT(power(3.2, 5.0), 1e-4);
}

// The receiver's gain after a burst thirty times as strong as the wanted tone: with the AGC the
// tone is pulled down for the hang and comes back with the decay, the slow AGC later than the
// fast; without it the tone keeps its level; either way nothing reaches full scale.
TEST(ReceiverGain, AgcPumpsAfterABurstAndNothingClips) {
    const auto second = static_cast<std::size_t>(kRate);
    std::vector<float> input(5 * second);
    for (std::size_t i = 0; i < input.size(); ++i) {
        const bool burst = i >= 2 * second && i < 2 * second + second / 20;
        input[i] =
            (burst ? 15.0F : 0.5F) * static_cast<float>(std::sin(2.0 * M_PI * 600.0 * i / kRate));
    }
    // The tone's level over 50 ms from `at` seconds, relative to its level before the burst.
    const auto levelDb = [&](const std::vector<float>& heard, double at) {
        const auto rms = [&](double from) {
            double sum = 0.0;
            const auto first = static_cast<std::size_t>(from * kRate);
            for (std::size_t i = first; i < first + second / 20; ++i) {
                sum += heard[i] * heard[i];
            }
            return std::sqrt(sum);
        };
        return 20.0 * std::log10(rms(at) / rms(1.5));
    };
    std::vector<double> after;
    std::vector<double> later;
    for (const auto agc : {ReceptionSettings::Agc::kOff, ReceptionSettings::Agc::kFast,
                           ReceptionSettings::Agc::kSlow}) {
        ReceptionSettings settings;
        // Heard through the receiver, nothing added: fading at no depth leaves the tone as it is.
        settings.fading = true;
        settings.fadingDepthPercent = 0;
        settings.pathDelayMicroseconds = 0;
        settings.agc = agc;
        CReceptionConditions conditions(settings, 1, 600, 0.5F);
        std::vector<float> heard = input;
        conditions.Render(heard.data(), nullptr, heard.size());
        float peak = 0.0F;
        for (const float x : heard) {
            peak = std::max(peak, std::fabs(x));
        }
        EXPECT_LT(peak, 1.0F);
        after.push_back(levelDb(heard, 2.15));
        later.push_back(levelDb(heard, 2.85));
        // Nearly three seconds after the burst every setting hears the tone as before.
        EXPECT_NEAR(levelDb(heard, 4.8), 0.0, 1.0) << static_cast<int>(agc);
    }
    EXPECT_NEAR(after[0], 0.0, 1.0);
    EXPECT_LT(after[1], -10.0);
    EXPECT_LT(after[2], -10.0);
    // The fast AGC is back 0.8 s after the burst; the slow one is not.
    EXPECT_NEAR(later[1], 0.0, 1.0);
    EXPECT_LT(later[2], -6.0);
}

// Zero crossings of the heard signal over the first 100 ms after a key-down.
int CrossingsAfterKeyDown(const ReceptionSettings& settings) {
    const Keyed keyed = KeyedSignal(44100, 600, 0.25F, 22050, 22050);
    const std::vector<float> heard = Rendered(settings, 3, keyed, 512);
    int crossings = 0;
    for (std::size_t i = 1; i < 4410; ++i) {
        crossings += (heard[i - 1] < 0.0F) != (heard[i] < 0.0F) ? 1 : 0;
    }
    return crossings;
}

// A chirping transmitter starts off its tone and settles: after a key-down the heard tone runs
// ahead of a steady one by the chirp times its time constant, in cycles.
TEST(WantedSignal, ChirpStartsOffTheToneAndSettles) {
    ReceptionSettings settings;
    settings.filterHz = 2400;
    settings.chirp = true;
    settings.chirpHz = 0;
    const int steady = CrossingsAfterKeyDown(settings);
    settings.chirpHz = 200;
    const int chirping = CrossingsAfterKeyDown(settings);
    const double cycles = 200.0 * CReceptionConditions::kChirpSeconds;
    EXPECT_NEAR((chirping - steady) / 2.0, cycles, 1.0);
}

// Key clicks: hard edges spread the keyed signal's energy far beside the tone, where the clean
// edges leave next to nothing.
TEST(WantedSignal, ClicksSpreadBesideTheTone) {
    const auto besideTheTone = [](bool clicks) {
        ReceptionSettings settings;
        settings.filterHz = 2400;
        settings.keyClicks = clicks;
        settings.chirp = !clicks;  // keys the tone anew with the clean edges
        settings.chirpHz = 0;
        const Keyed keyed = KeyedSignal(1U << 17, 600, 0.25F, 3000, 3000);
        const std::vector<float> heard = Rendered(settings, 3, keyed, 1024);
        std::vector<std::complex<float>> in(heard.begin(), heard.end());
        std::vector<std::complex<float>> out(in.size());
        fftplan plan = fft_create_plan(static_cast<unsigned int>(in.size()), in.data(), out.data(),
                                       LIQUID_FFT_FORWARD, 0);
        fft_execute(plan);
        fft_destroy_plan(plan);
        double energy = 0.0;
        const double binHz = kRate / static_cast<double>(out.size());
        for (auto k = static_cast<std::size_t>(1200.0 / binHz); k < 2000.0 / binHz; ++k) {
            energy += std::norm(out[k]);
        }
        return energy;
    };
    EXPECT_GT(besideTheTone(true), 30.0 * besideTheTone(false));
}

}  // namespace
