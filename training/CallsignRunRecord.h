#pragma once

#include <string>
#include <vector>

// One run of callsigns as the callsign records keep it: when, how it started, every answer and
// how it ended. Plain data; any thread.
struct CallsignRunRecord {
    struct Answer {
        std::string callsign;
        std::string typed;  // as judged: capitals, without spaces
        int speed = 0;      // characters per minute the callsign was keyed at
        int repeats = 0;
        bool right = false;
        int points = 0;
        bool operator==(const Answer&) const = default;
    };

    // Local date and time of the run's end.
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int startSpeed = 60;  // characters per minute
    int step = 5;
    std::vector<Answer> answers;
    int score = 0;         // the points of all answers
    int highestSpeed = 0;  // the highest speed a callsign was keyed at

    // The share of the answers that were right, 0 to 1; 0 without answers.
    double RightShare() const;

    bool operator==(const CallsignRunRecord&) const = default;
};
