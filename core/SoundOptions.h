#pragma once

#include <vector>

// How the text becomes a practice sound file beyond the keying itself: each group or word
// spoken after it, and the speed rising along the file. Off by default: the file is the
// transmission. Plain data; any thread.
struct SoundOptions {
    static constexpr int kLongestPauseTenths = 100;
    static constexpr double kSlowestRung = 0.25;
    static constexpr double kFastestRung = 4.0;
    static constexpr int kMostRungs = 10;
    static constexpr int kHighestStepCpm = 200;
    static constexpr int kLongestStepMinutes = 60;

    enum class Ladder { kNone, kRungs, kSteps };

    bool speak = false;
    // The answers also said live, after each word of a transmission on the sound card.
    bool speakLive = false;
    // Between a word's last tone and its answer, and between the answer and the next word, in
    // tenths of a second.
    int pauseBeforeTenths = 5;
    int pauseAfterTenths = 10;
    Ladder ladder = Ladder::kNone;
    // Each group once at each of these multiples of the text speed, in turn.
    std::vector<double> rungs{1.0, 1.175, 1.35, 1.5};
    // Or the text speed raised by this many characters a minute every so many minutes.
    int stepCpm = 10;
    int stepMinutes = 5;

    bool operator==(const SoundOptions&) const = default;
};
