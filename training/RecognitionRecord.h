#pragma once

#include <map>
#include <optional>
#include <vector>

// The character sets instant recognition practises.
enum class RecognitionSet { Lesson, Letters, Digits, All };

// No reaction is recorded as longer than this: ten minutes.
inline constexpr int kLongestReactionMilliseconds = 600000;

// One run of instant recognition as the records keep it: when, what was practised at what speed,
// and per character how it went. Plain data; any thread.
struct RecognitionRecord {
    // Local date and time of the run's end.
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    RecognitionSet set = RecognitionSet::Letters;
    int lesson = 0;       // the course lesson of a lesson set; 0 for the others
    int signSpeed = 100;  // characters per minute at the start
    int textSpeed = 100;
    int limitMilliseconds = 1000;

    struct Character {
        char character = ' ';
        int answers = 0;
        int errors = 0;
        // Of the right answers timed from the character's end; none without one.
        std::optional<int> medianMilliseconds;
        // Right answers typed before the character had ended: right, but with no time.
        int early = 0;
        bool operator==(const Character&) const = default;
    };
    // In the set's order, each character once.
    std::vector<Character> characters;

    bool operator==(const RecognitionRecord&) const = default;
};

// How long each character takes to be recognised: the median of its runs' medians over the last
// `runs` runs that timed it (a run's median already damps single slips; the median of those
// follows a learner's progress without being thrown by one bad day). Characters never timed are
// absent.
std::map<char, int> ReactionMedians(const std::vector<RecognitionRecord>& records, int runs = 20);

// One character over the records: its answers and wrong answers in all runs, and its reaction as
// ReactionMedians gives it.
struct RecognitionTotal {
    char character = ' ';
    int answers = 0;
    int errors = 0;
    std::optional<int> medianMilliseconds;
    int early = 0;
    bool operator==(const RecognitionTotal&) const = default;
};

// Every character the records hold, the slowest first, then those never timed, by their error
// count; characters alike in both in the order of their codes.
std::vector<RecognitionTotal> RecognitionTotals(const std::vector<RecognitionRecord>& records);
