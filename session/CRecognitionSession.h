#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <chrono>

#include "training/CInstantRecognition.h"
#include "training/RecognitionRecord.h"

class CCuePlayer;
class CRecognitionFile;

// How a run of instant recognition begins: the set, the sound (the main window's speeds, tone,
// ratio and volume), the limit of a quick answer and whether a wrong answer is heard.
struct RecognitionSettings {
    RecognitionSet set = RecognitionSet::Letters;
    // The course's current lesson and its characters, for RecognitionSet::Lesson.
    int lesson = 0;
    std::string lessonCharacters;
    int signSpeed = 100;
    int textSpeed = 100;
    int toneHz = 600;
    double dashRatio = 3.0;
    float gain = 1.0F;
    int limitMilliseconds = CInstantRecognition::kDefaultLimitMilliseconds;
    bool wrongTone = true;
    std::uint32_t seed = 1;
    // The answers of a run; it ends with the last of them.
    int length = 50;
};

// One run of instant recognition: keys one character at a time through the cue player, judges
// the key press that answers it with the reaction time measured from the moment the character's
// last sample was heard, plays the wrong answer's tone, and raises the speed as the rules allow.
// The dialog only shows it. Called on the user-interface thread.
class CRecognitionSession {
public:
    // Each step the speed rises by this many characters a minute, sign and text speed alike, up
    // to kMaximumSpeed.
    static constexpr int kSpeedStep = 10;
    static constexpr int kMaximumSpeed = 300;
    // The silence between an answer and the next character.
    static constexpr int kPauseMilliseconds = 700;

    // The characters of `set`; `lessonCharacters` for a lesson.
    static std::string Characters(RecognitionSet set, const std::string& lessonCharacters);

    // `player` outlives the session.
    CRecognitionSession(CCuePlayer& player, const RecognitionSettings& settings);

    // Whether the set has anything to practise.
    bool Empty() const { return rules.Empty(); }
    // Plays the next character; false when there is none or the player refused its sound.
    bool Next();
    // A character has been played and waits for its answer.
    bool Waiting() const { return waiting; }

    struct Answer {
        CInstantRecognition::Verdict verdict = CInstantRecognition::Verdict::Right;
        char asked = ' ';
        char typed = ' ';
        // Milliseconds from the moment the character's end was heard to the press, to 10 ms.
        int reactionMilliseconds = 0;
        // The press came before the end of the character was heard: the sound stops there and
        // the reaction counts as none.
        bool early = false;
        // The speed rose with this answer.
        bool speedRose = false;
    };
    // The key press `typed` at `pressNanoseconds` on the monotonic clock answers the character
    // waiting; nothing when none waits (a press between characters is ignored) or when `typed`
    // is no Morse character (a slip of the keyboard, not an answer).
    std::optional<Answer> Press(char typed, std::int64_t pressNanoseconds);

    int SignSpeed() const;
    int TextSpeed() const;

    // The results so far, per character of the set in its order: answers, wrong answers and the
    // median reaction of the right ones.
    struct CharacterResult {
        char character = ' ';
        int answers = 0;
        int errors = 0;
        std::optional<int> medianMilliseconds;
        int early = 0;
        bool operator==(const CharacterResult&) const = default;
    };
    std::vector<CharacterResult> Results() const;
    // Whether anything has been answered, and how many answers.
    bool Answered() const { return answers > 0; }
    int Answers() const { return answers; }
    // The run as the records keep it, stamped with the local date and time of `now`.
    RecognitionRecord Record(std::chrono::system_clock::time_point now) const;
    // Adds the run to `records` when anything was answered; false when that failed (the file as
    // it was).
    bool Save(const CRecognitionFile& records, std::chrono::system_clock::time_point now) const;

private:
    CCuePlayer& player;
    RecognitionSettings settings;
    std::string characters;
    CInstantRecognition rules;
    char asked = ' ';
    bool waiting = false;
    int answers = 0;
};
