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
    // Fading (QSB): depth in per cent of the wanted signal, mean time between fades in seconds.
    static constexpr int kLongestFadingSeconds = 30;
    static constexpr int kShortestFadingSeconds = 1;
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
    int fadingDepthPercent = 70;
    int fadingSeconds = 8;
    bool staticCrashes = false;
    int staticPerMinute = 30;
    bool interference = false;
    int stations = 2;
    bool chirp = false;
    int chirpHz = 60;
    bool keyClicks = false;
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
        }
        if (!staticCrashes) {
            summary.staticPerMinute = defaults.staticPerMinute;
        }
        if (!interference || stations <= 0) {
            summary.interference = false;
            summary.stations = defaults.stations;
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
        bounded.fadingSeconds =
            std::clamp(fadingSeconds, kShortestFadingSeconds, kLongestFadingSeconds);
        bounded.staticPerMinute =
            std::clamp(staticPerMinute, kLowestStaticRate, kHighestStaticRate);
        bounded.stations = std::clamp(stations, 0, kMostStations);
        bounded.chirpHz = std::clamp(chirpHz, 0, kHighestChirpHz);
        return bounded;
    }
    bool operator==(const ReceptionSettings&) const = default;
};
