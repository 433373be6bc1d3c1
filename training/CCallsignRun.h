#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "text/CRandomSource.h"

// A run of callsigns at rising speed: each callsign is keyed once at the run's speed and the
// user types what was heard. A right answer raises the speed by a step, a wrong one lowers it; a
// callsign may be repeated, which halves what it scores. The score grows with the speed and the
// length of each callsign copied right. Plain data; one thread at a time.
class CCallsignRun {
public:
    static constexpr int kCallsigns = 50;
    static constexpr int kRepeatCostPercent = 50;

    struct Settings {
        int startSpeed = 60;  // characters per minute
        int step = 5;
        int lowestSpeed = 20;
        int highestSpeed = 300;
        int callsigns = kCallsigns;
    };

    struct Answer {
        std::string callsign;
        std::string typed;
        int speed = 0;
        int repeats = 0;
        bool right = false;
        int points = 0;
    };

    CCallsignRun(const Settings& settings, std::uint32_t seed);

    bool Finished() const { return static_cast<int>(answers.size()) >= settings.callsigns; }
    // The callsign to key now and the speed to key it at.
    const std::string& Current() const { return current; }
    int Speed() const { return speed; }
    // The user asks to hear the callsign again.
    void Repeat() { ++repeats; }
    // The user's copy of the current callsign (spaces and ASCII case ignored); the next one is
    // drawn. Nothing once the run is finished.
    void Type(const std::string& typed);

    const std::vector<Answer>& Answers() const { return answers; }
    int Score() const { return score; }

private:
    Settings settings;
    CRandomSource random;
    std::string current;
    int speed;
    int repeats = 0;
    int score = 0;
    std::vector<Answer> answers;
};
