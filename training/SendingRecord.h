#pragma once

#include <array>

#include "core/KeyingSettings.h"

// How a sending practice was done: the learner keyed freely, sent back what the program keyed
// (echo), or sent a text shown (copy sending). The numbers are stored in the records.
enum class SendingPractice : int { kFree = 0, kEcho = 1, kCopy = 2 };

// One session of sending practice as the sending records keep it: when, how, what was read and
// the measure of the fist. Lengths are in the learner's own dots (the mean of the dots sent).
// Plain data; any thread.
struct SendingRecord {
    // The kinds of interval measured, in this order: dot, dash, element gap, character gap,
    // word gap.
    static constexpr std::size_t kKinds = 5;
    struct Kind {
        int count = 0;
        double mean = 0.0;    // in dots
        double spread = 0.0;  // standard deviation, in dots
        bool operator==(const Kind&) const = default;
    };

    // Local date and time of the session's end.
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    SendingPractice practice = SendingPractice::kFree;
    KeyerMode keyer = KeyerMode::kStraight;
    // Characters read, spaces not counted.
    int characters = 0;
    // Echo: the items sent back right of those judged; copy sending: the characters of the text
    // sent right of its characters; free keying: both 0.
    int right = 0;
    int judged = 0;
    // The learner's speed in characters a minute, from the mean dot; for echo, the highest speed
    // the program keyed at as well (0 otherwise).
    int signSpeed = 0;
    int highestSpeed = 0;
    // The mean dash in dots.
    double dashRatio = 0.0;
    std::array<Kind, kKinds> kinds{};
    // Echo: the median time from the end of the sound to the learner's first key edge, in
    // milliseconds; 0 when none was timed.
    int reactionMilliseconds = 0;

    bool operator==(const SendingRecord&) const = default;
};
