#pragma once

#include <algorithm>
#include <cstdint>

#include "core/CFist.h"

// The reception conditions a transmission is heard under, each on or off, and the fist that keys
// it. All off (the default) is the clean sound of the timing model. Plain data; any thread.
struct ReceptionSettings {
    // Noise as a signal-to-noise ratio in a 500 Hz bandwidth, heard through the receiver filter.
    static constexpr int kLowestSnrDb = -10;
    static constexpr int kHighestSnrDb = 30;
    static constexpr double kSnrBandwidthHz = 500.0;
    // The receiver filter's bandwidth; any sound condition is heard through it.
    static constexpr int kNarrowestFilterHz = 100;
    static constexpr int kWidestFilterHz = 3000;
    // Fading (QSB): depth in per cent of the wanted signal (100: Rayleigh, nothing of the signal
    // stays unfaded), mean time between fades in seconds, as older files keep it.
    static constexpr int kLongestFadingSeconds = 30;
    static constexpr int kShortestFadingSeconds = 1;
    // Each path's Doppler spread (twice the r.m.s. width of its fading spectrum) in hundredths of
    // a hertz, and the delay of a second path of equal mean power in microseconds (0: one path).
    static constexpr int kLeastSpreadCentihertz = 1;
    static constexpr int kMostSpreadCentihertz = 2000;
    static constexpr int kLongestPathDelayMicroseconds = 5000;
    // Mean seconds between fades at a spread: the median of a Rayleigh process is crossed
    // downwards sqrt(pi ln 2) / 2 times a second per hertz of spread (Gaussian-like spectrum).
    static constexpr double kFadeSecondsTimesHertz = 1.3547;
    static constexpr int FadingSecondsFor(int spreadCentihertz) {
        const int seconds =
            static_cast<int>(kFadeSecondsTimesHertz * 100.0 / std::max(spreadCentihertz, 1) + 0.5);
        return std::clamp(seconds, kShortestFadingSeconds, kLongestFadingSeconds);
    }
    static constexpr int SpreadCentihertzFor(int fadingSeconds) {
        const int spread =
            static_cast<int>(kFadeSecondsTimesHertz * 100.0 / std::max(fadingSeconds, 1) + 0.5);
        return std::clamp(spread, kLeastSpreadCentihertz, kMostSpreadCentihertz);
    }
    // Static crashes (QRN) per minute.
    static constexpr int kLowestStaticRate = 1;
    static constexpr int kHighestStaticRate = 600;
    // Interfering stations (QRM).
    static constexpr int kMostStations = 5;
    // Chirp: the wanted tone starts this many hertz off and settles.
    static constexpr int kHighestChirpHz = 200;

    bool noise = false;
    int snrDb = 10;
    int filterHz = 500;
    bool fading = false;
    int fadingDepthPercent = 100;
    int fadingSeconds = FadingSecondsFor(50);
    int fadingSpreadCentihertz = 50;
    int pathDelayMicroseconds = 1000;
    bool staticCrashes = false;
    int staticPerMinute = 30;
    bool interference = false;
    int stations = 2;
    bool chirp = false;
    int chirpHz = 60;
    bool keyClicks = false;
    // The receiver's automatic gain control after its filter; off, the gain is fixed with room for
    // the loudest fades.
    enum class Agc { kOff, kFast, kSlow };
    Agc agc = Agc::kFast;
    // Interfering stations may sit on the wanted tone, for zero-beat practice (else they keep
    // kLeastStationOffsetHz away); they may be a pile-up of callers instead of QSOs and CQs.
    static constexpr double kLeastStationOffsetHz = 50.0;
    bool zeroBeat = false;
    bool pileUp = false;
    FistKind fist = FistKind::kNone;
    // When fixed, every transmission is keyed from `seed`; otherwise a new one is drawn each time.
    bool fixedSeed = false;
    std::uint64_t seed = 1;

    // Whether anything changes the sound (the fist changes only the timing).
    bool ChangesSound() const {
        return noise || fading || staticCrashes || (interference && stations > 0) || chirp ||
               keyClicks;
    }
    // Whether anything at all differs from the clean model: a sound condition or a fist.
    bool AnyOn() const { return ChangesSound() || fist != FistKind::kNone; }
    // What a transmission was heard under, as a check records it: the parts that are on with
    // their values, every part that is off (and the filter when nothing is heard through it) at
    // its default, the seed kept and the choice of fixing it dropped.
    ReceptionSettings Summary() const {
        const ReceptionSettings defaults;
        ReceptionSettings summary = *this;
        summary.fixedSeed = false;
        if (!noise) {
            summary.snrDb = defaults.snrDb;
        }
        if (!ChangesSound()) {
            summary.filterHz = defaults.filterHz;
        }
        if (!fading) {
            summary.fadingDepthPercent = defaults.fadingDepthPercent;
            summary.fadingSeconds = defaults.fadingSeconds;
            summary.fadingSpreadCentihertz = defaults.fadingSpreadCentihertz;
            summary.pathDelayMicroseconds = defaults.pathDelayMicroseconds;
        }
        if (!ChangesSound()) {
            summary.agc = defaults.agc;
        }
        if (!staticCrashes) {
            summary.staticPerMinute = defaults.staticPerMinute;
        }
        if (!interference || stations <= 0) {
            summary.interference = false;
            summary.stations = defaults.stations;
            summary.zeroBeat = defaults.zeroBeat;
            summary.pileUp = defaults.pileUp;
        }
        if (!chirp) {
            summary.chirpHz = defaults.chirpHz;
        }
        return summary;
    }
    // Every value within its bounds: the settings as the sound is made from them.
    ReceptionSettings Bounded() const {
        ReceptionSettings bounded = *this;
        bounded.snrDb = std::clamp(snrDb, kLowestSnrDb, kHighestSnrDb);
        bounded.filterHz = std::clamp(filterHz, kNarrowestFilterHz, kWidestFilterHz);
        bounded.fadingDepthPercent = std::clamp(fadingDepthPercent, 0, 100);
        bounded.fadingSpreadCentihertz =
            std::clamp(fadingSpreadCentihertz, kLeastSpreadCentihertz, kMostSpreadCentihertz);
        // The period only follows the spread, for the files of older versions.
        bounded.fadingSeconds = FadingSecondsFor(bounded.fadingSpreadCentihertz);
        bounded.pathDelayMicroseconds =
            std::clamp(pathDelayMicroseconds, 0, kLongestPathDelayMicroseconds);
        if (agc != Agc::kOff && agc != Agc::kFast && agc != Agc::kSlow) {
            bounded.agc = Agc::kFast;
        }
        bounded.staticPerMinute =
            std::clamp(staticPerMinute, kLowestStaticRate, kHighestStaticRate);
        bounded.stations = std::clamp(stations, 0, kMostStations);
        bounded.chirpHz = std::clamp(chirpHz, 0, kHighestChirpHz);
        return bounded;
    }
    bool operator==(const ReceptionSettings&) const = default;
};

// The fading of the band as HF channel models describe it (ITU-R F.1487): quiet, moderate and
// disturbed paths, and the flutter of auroral and polar paths.
struct FadingPreset {
    int spreadCentihertz;
    int pathDelayMicroseconds;
};
inline constexpr FadingPreset kFadingPresets[] = {{10, 500}, {50, 1000}, {100, 2000}, {1000, 0}};
