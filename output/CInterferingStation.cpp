#include "output/CInterferingStation.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "core/CMorseTable.h"
#include "core/ReceptionSettings.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr std::int64_t kRenormaliseSamples = 4096;
constexpr double kEdgeSeconds = 0.005;
constexpr double kBeyondPassbandHz = 200.0;
constexpr double kShortestPauseSeconds = 1.0;
constexpr double kLongestPauseSeconds = 6.0;
constexpr double kLongestStartSeconds = 3.0;
// A station on the air sends one to four calls, and stays away 5 to 60 s before it comes back.
constexpr int kMostMessages = 4;
constexpr double kMeanAwaySeconds = 20.0;
constexpr double kShortestAwaySeconds = 5.0;
constexpr double kLongestAwaySeconds = 60.0;
// A caller of a pile-up answers four calls of five, 0.2 to 1 s after the wanted station stops,
// and otherwise waits: a wait no transmission outlasts.
constexpr double kJoinsRound = 0.8;
constexpr double kWaitingUnits = 1e15;
constexpr double kEarliestCallSeconds = 0.2;
constexpr double kLatestCallSeconds = 1.0;

double DrawOffset(CSeededRandom& random, double reach, bool zeroBeat) {
    if (zeroBeat) {
        return random.Uniform(-reach, reach);
    }
    const double least = ReceptionSettings::kLeastStationOffsetHz;
    const double magnitude = random.Uniform(least, std::max(reach, least));
    return random.Uniform() < 0.5 ? -magnitude : magnitude;
}

constexpr std::array<std::string_view, 12> kPrefixes = {"OK1", "OK2", "OL5", "OM3", "DL1", "SP9",
                                                        "HA5", "S5",  "G4",  "F5",  "I2",  "YU1"};

std::string Callsign(CSeededRandom& random) {
    std::string call(kPrefixes[random.Next() % kPrefixes.size()]);
    const int letters = 2 + static_cast<int>(random.Next() % 2);
    for (int i = 0; i < letters; ++i) {
        call += static_cast<char>('A' + random.Next() % 26);
    }
    return call;
}

}  // namespace

CInterferingStation::Traits CInterferingStation::Draw(CSeededRandom& random, double filterHz,
                                                      bool zeroBeat, bool pileUp) {
    Traits station;
    station.reachHz = filterHz / 2.0 + kBeyondPassbandHz;
    station.zeroBeat = zeroBeat;
    station.pileUp = pileUp;
    station.offsetHz = DrawOffset(random, station.reachHz, zeroBeat);
    station.level = std::pow(10.0, random.Uniform(-12.0, 3.0) / 20.0);
    station.signSpeed = 60 + 10 * static_cast<int>(random.Next() % 15);
    constexpr std::array<FistKind, 3> kHands = {FistKind::kGoodHand, FistKind::kStraightKey,
                                                FistKind::kBug};
    station.fist = kHands[random.Next() % kHands.size()];
    const std::string call = Callsign(random);
    std::string text;
    switch (pileUp ? 3 : random.Next() % 3) {
        case 0:
            text = "CQ CQ DE " + call + " " + call + " K";
            break;
        case 1:
            text = "CQ TEST " + call + " " + call;
            break;
        case 2:
            text = Callsign(random) + " DE " + call + " 599 599 K";
            break;
        default:
            text = random.Next() % 2 == 0 ? call : call + " " + call;
            break;
    }
    station.textLength = std::min(text.size(), kMostTextBytes);
    std::copy_n(text.begin(), station.textLength, station.text.begin());
    return station;
}

CInterferingStation::CInterferingStation(const Traits& stationTraits, double rate,
                                         std::uint64_t seed)
    : traits(stationTraits),
      fist(stationTraits.fist, CSeededRandom::Derive(seed, SeedStream::kInterference, 1)),
      random(seed),
      timing(ComputeTiming(stationTraits.signSpeed, stationTraits.signSpeed, 3.0)),
      sampleRate(rate) {
    const auto edgeSamples = static_cast<std::size_t>(std::max(1.0, kEdgeSeconds * rate));
    ramp.resize(edgeSamples + 1);
    for (std::size_t k = 0; k <= edgeSamples; ++k) {
        ramp[k] = static_cast<float>(
            0.5 * (1.0 - std::cos(kTwoPi / 2.0 * static_cast<double>(k) / edgeSamples)));
    }
    // Stations are already on the air or start within the first seconds; a pile-up's callers
    // wait for the wanted station to stop.
    messagesLeft = 1 + static_cast<int>(random.Next() % kMostMessages);
    nextEdge = traits.pileUp ? PauseUnits() * rate / kUnitsPerSecond
                             : random.Uniform(0.0, kLongestStartSeconds) * rate;
}

void CInterferingStation::Answer() {
    if (!waitingToAnswer) {
        return;
    }
    waitingToAnswer = false;
    if (random.Uniform() < kJoinsRound) {
        nextEdge = static_cast<double>(position) +
                   random.Uniform(kEarliestCallSeconds, kLatestCallSeconds) * sampleRate;
    } else {
        waitingToAnswer = true;
    }
}

void CInterferingStation::ComeBack() {
    traits.offsetHz = DrawOffset(random, traits.reachHz, traits.zeroBeat);
    traits.level = std::pow(10.0, random.Uniform(-12.0, 3.0) / 20.0);
    messagesLeft = 1 + static_cast<int>(random.Next() % kMostMessages);
}

double CInterferingStation::PauseUnits() {
    if (traits.pileUp) {
        waitingToAnswer = true;
        return kWaitingUnits;
    }
    if (--messagesLeft > 0) {
        return random.Uniform(kShortestPauseSeconds, kLongestPauseSeconds) * kUnitsPerSecond;
    }
    const double awaySeconds =
        std::clamp(random.Exponential(kMeanAwaySeconds), kShortestAwaySeconds, kLongestAwaySeconds);
    away = true;
    ComeBack();
    return awaySeconds * kUnitsPerSecond;
}

void CInterferingStation::Add(bool down, KeyInterval interval, double modelUnits) {
    pending[pendingCount++] = {down, fist.Shape(interval, modelUnits, timing.dotUnits)};
}

void CInterferingStation::Refill() {
    pendingCount = 0;
    pendingNext = 0;
    // What was pending is keyed: a station that was away is back.
    away = false;
    if (traits.textLength == 0 || textIndex == traits.textLength) {
        textIndex = 0;
        pending[pendingCount++] = {false, PauseUnits()};
        return;
    }
    const char character = traits.text[textIndex++];
    if (character == ' ') {
        Add(false, KeyInterval::kWordGap, WordGapUnits(timing));
        return;
    }
    // A code has at most eight elements: sixteen intervals and the character gap fit.
    for (const char element : CMorseTable::CodeOf(character, false)) {
        if (element == '.') {
            Add(true, KeyInterval::kDot, timing.dotUnits);
        } else {
            Add(true, KeyInterval::kDash, DashUnits(timing, 3.0));
        }
        Add(false, KeyInterval::kElementGap, ElementGapUnits(timing));
    }
    Add(false, KeyInterval::kCharacterGap, CharacterGapUnits(timing));
}

void CInterferingStation::Render(float* out, std::size_t frames, double toneHz,
                                 float wantedAmplitude) {
    const std::complex<double> turn =
        std::polar(1.0, kTwoPi * std::max(0.0, toneHz + traits.offsetHz) / sampleRate);
    const float amplitude = wantedAmplitude * static_cast<float>(traits.level);
    const std::size_t edgeSamples = ramp.size() - 1;
    for (std::size_t i = 0; i < frames; ++i) {
        while (static_cast<double>(position) >= nextEdge) {
            if (pendingNext == pendingCount) {
                Refill();
            }
            const Interval& interval = pending[pendingNext++];
            keyDown = interval.keyDown;
            nextEdge += interval.units * sampleRate / kUnitsPerSecond;
        }
        if (keyDown && rampPosition < edgeSamples) {
            ++rampPosition;
        } else if (!keyDown && rampPosition > 0) {
            --rampPosition;
        }
        if (rampPosition > 0) {
            out[i] += amplitude * ramp[rampPosition] * static_cast<float>(phasor.imag());
        }
        phasor *= turn;
        // Rounding would slowly change the phasor's length; it is set right at fixed samples, so
        // that the sound does not depend on the blocks it is rendered in.
        if (++position % kRenormaliseSamples == 0) {
            phasor /= std::abs(phasor);
        }
    }
}
