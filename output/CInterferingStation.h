#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/CFist.h"
#include "core/CSeededRandom.h"
#include "core/Timing.h"

// One interfering station (QRM): a tone of its own offset from the wanted one, keyed from the
// Morse table and the timing model at its own speed by its own fist. It comes on the air at a
// random moment, sends a few calls with pauses between them and leaves; a while later it (or the
// next station on that frequency slot) comes back at another offset and level. In a pile-up the
// stations are callers: each sends its callsign, once or twice, a moment after the wanted station
// stops (Answer), joining most of those moments, and waits for the next. Render never allocates,
// locks or calls the system; one thread at a time.
class CInterferingStation {
public:
    static constexpr std::size_t kMostTextBytes = 48;

    struct Traits {
        double offsetHz = 0.0;  // from the wanted tone
        double level = 1.0;     // key-down amplitude relative to the wanted signal's
        int signSpeed = 100;    // characters per minute
        FistKind fist = FistKind::kGoodHand;
        // How far from the wanted tone a comeback's offset may lie, and whether it may sit on it.
        double reachHz = 450.0;
        bool zeroBeat = false;
        bool pileUp = false;
        std::array<char, kMostTextBytes> text{};
        std::size_t textLength = 0;

        std::string_view Text() const { return {text.data(), textLength}; }
    };

    // A station drawn at random: within the receiver's passband of `filterHz` or up to 200 Hz
    // outside it, and never nearer the wanted tone than kLeastStationOffsetHz unless `zeroBeat`,
    // from 12 dB below the wanted signal to 3 dB above it, at 60 to 200 characters a minute, with
    // a hand or a bug, calling CQ or answering a call; in a pile-up, sending its callsign.
    static Traits Draw(CSeededRandom& random, double filterHz, bool zeroBeat = false,
                       bool pileUp = false);

    CInterferingStation(const Traits& traits, double sampleRate, std::uint64_t seed);

    // A pile-up's caller: the wanted station has just stopped; a caller waiting to answer calls a
    // moment later, or (one time in five) waits for the next.
    void Answer();

    // Whether the station is on the air (not between its leaving and its comeback).
    bool OnTheAir() const { return !away; }

    // Adds the station's next `frames` samples to `out`, its tone `toneHz` + its offset, its
    // key-down amplitude `wantedAmplitude` times its level.
    void Render(float* out, std::size_t frames, double toneHz, float wantedAmplitude);

    const Traits& GetTraits() const { return traits; }

private:
    struct Interval {
        bool keyDown = false;
        double units = 0.0;
    };

    void Refill();
    void Add(bool keyDown, KeyInterval interval, double modelUnits);
    // The silence until the next call: a pause, a leave and a comeback, or the next round.
    double PauseUnits();
    void ComeBack();

    Traits traits;
    CFist fist;
    CSeededRandom random;
    bool waitingToAnswer = false;
    int messagesLeft = 0;
    bool away = false;
    TimingValues timing;
    double sampleRate;
    std::vector<float> ramp;  // the raised-cosine edge, filled once
    std::array<Interval, 24> pending{};
    std::size_t pendingCount = 0;
    std::size_t pendingNext = 0;
    std::size_t textIndex = 0;
    bool keyDown = false;
    double nextEdge = 0.0;  // in samples from the start
    std::int64_t position = 0;
    std::size_t rampPosition = 0;
    // The tone as a unit phasor turned by one sample's angle at a time.
    std::complex<double> phasor{1.0, 0.0};
};
