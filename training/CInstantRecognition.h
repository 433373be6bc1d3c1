#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "text/CRandomSource.h"

// The rules of instant character recognition: one character is keyed, the user types it, and
// the time from the end of its sound to the key press is the reaction time. Chooses the next
// character (one answered wrongly or slowly comes back sooner), judges each answer, raises the
// speed while answers are right and quick, and keeps each character's reaction times.
// Plain data; one thread at a time.
class CInstantRecognition {
public:
    static constexpr int kDefaultLimitMilliseconds = 1000;
    // Right and quick answers in a row that raise the speed by a step.
    static constexpr int kQuickAnswersPerStep = 5;
    // Reaction times are recorded to this many milliseconds.
    static constexpr int kResolutionMilliseconds = 10;

    enum class Verdict { Right, Slow, Wrong };

    // `set`: the characters to practise (those without a code and repeats are dropped).
    CInstantRecognition(const std::string& set, int limitMilliseconds, std::uint32_t seed);

    bool Empty() const { return characters.empty(); }
    // The character to key next: the one most overdue, a random one of those due alike.
    char Next();
    // The user's answer to the last character: `typed` (ASCII case ignored) after
    // `reactionMilliseconds`, or before the character had ended (none): such an answer is right
    // and quick or wrong, and carries no time.
    Verdict Answer(char typed, std::optional<int> reactionMilliseconds);

    // How many steps the speed has risen since the start.
    int SpeedSteps() const { return speedSteps; }
    // The median reaction time of the timed right answers for `character`; none before any.
    std::optional<int> MedianMilliseconds(char character) const;
    int Answers(char character) const;
    int Errors(char character) const;
    // Right answers before the character had ended.
    int Early(char character) const;

    // The reaction time from the moment the character's sound ended, as the sound card played
    // it (on the monotonic clock), to the key press on the same clock, in milliseconds to
    // kResolutionMilliseconds; a press before the end counts as 0.
    static int ReactionMilliseconds(std::int64_t soundEndNanoseconds,
                                    std::int64_t pressNanoseconds);

private:
    struct Character {
        char character = ' ';
        bool lastWrong = false;
        std::int64_t due = 0;  // the turn from which it is due
        std::int64_t interval = 1;
        int answers = 0;
        int errors = 0;
        int early = 0;
        std::vector<int> reactions;
    };

    std::vector<Character> characters;
    int limit;
    CRandomSource random;
    std::int64_t turn = 0;
    std::size_t current = 0;
    bool asked = false;
    int quickInARow = 0;
    int speedSteps = 0;
};
