#include "session/CRecognitionSession.h"

#include <algorithm>

#include "core/AsciiText.h"
#include "core/CCuePlayer.h"
#include "core/CMorseTable.h"
#include "engine/CueSounds.h"
#include "session/LocalStamp.h"
#include "training/CRecognitionFile.h"

namespace {

constexpr const char* kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr const char* kDigits = "0123456789";
// Every character the Morse table has: letters, digits and the signs, all on a keyboard.
constexpr const char* kAll = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,?/=+!@";

}  // namespace

std::string CRecognitionSession::Characters(RecognitionSet set,
                                            const std::string& lessonCharacters) {
    std::string chosen;
    switch (set) {
        case RecognitionSet::Lesson:
            chosen = AsciiUpper(lessonCharacters);
            break;
        case RecognitionSet::Letters:
            chosen = kLetters;
            break;
        case RecognitionSet::Digits:
            chosen = kDigits;
            break;
        case RecognitionSet::All:
            chosen = kAll;
            break;
    }
    // Only what has a code and can be typed, each once.
    std::string result;
    for (const char c : chosen) {
        if (c != ' ' && CMorseTable::HasCode(c) && result.find(c) == std::string::npos) {
            result.push_back(c);
        }
    }
    return result;
}

CRecognitionSession::CRecognitionSession(CCuePlayer& cuePlayer,
                                         const RecognitionSettings& runSettings)
    : player(cuePlayer),
      settings(runSettings),
      characters(Characters(runSettings.set, runSettings.lessonCharacters)),
      rules(characters, runSettings.limitMilliseconds, runSettings.seed) {}

int CRecognitionSession::SignSpeed() const {
    return std::min(kMaximumSpeed, settings.signSpeed + rules.SpeedSteps() * kSpeedStep);
}

int CRecognitionSession::TextSpeed() const {
    return std::min(kMaximumSpeed, settings.textSpeed + rules.SpeedSteps() * kSpeedStep);
}

bool CRecognitionSession::Next() {
    if (rules.Empty()) {
        return false;
    }
    if (waiting) {
        // Asked again without an answer: the same character once more.
        return player.Play(cuesounds::RenderText(std::string(1, asked), SignSpeed(), TextSpeed(),
                                                 settings.toneHz, settings.dashRatio,
                                                 settings.gain));
    }
    asked = rules.Next();
    waiting =
        player.Play(cuesounds::RenderText(std::string(1, asked), SignSpeed(), TextSpeed(),
                                          settings.toneHz, settings.dashRatio, settings.gain));
    return waiting;
}

std::optional<CRecognitionSession::Answer> CRecognitionSession::Press(
    char typed, std::int64_t pressNanoseconds) {
    if (!waiting || !CMorseTable::HasCode(AsciiUpper(typed))) {
        return std::nullopt;
    }
    waiting = false;
    ++answers;
    Answer answer;
    answer.asked = asked;
    answer.typed = AsciiUpper(typed);
    // The player tells the end only once the stream has taken the last sample; until then, and
    // until the end is heard, the character is still sounding.
    const std::int64_t heardEnd = player.HeardEndNanoseconds();
    // A press before the end was heard answers all the same (the rest of the character is not
    // needed any more and stops), with a reaction of none, as the rules count it.
    answer.early = heardEnd == 0 || pressNanoseconds < heardEnd;
    if (answer.early) {
        player.Silence();
    }
    // A press after a long break (the learner away from the keyboard) counts as the longest
    // reaction the records keep.
    constexpr std::int64_t kLongest = std::int64_t{kLongestReactionMilliseconds} * 1'000'000;
    answer.reactionMilliseconds =
        answer.early ? 0
                     : CInstantRecognition::ReactionMilliseconds(
                           heardEnd, std::min(pressNanoseconds, heardEnd + kLongest));
    const int stepsBefore = rules.SpeedSteps();
    answer.verdict = rules.Answer(
        typed, answer.early ? std::nullopt : std::optional(answer.reactionMilliseconds));
    answer.speedRose =
        rules.SpeedSteps() > stepsBefore &&
        std::min(kMaximumSpeed, settings.signSpeed + stepsBefore * kSpeedStep) < SignSpeed();
    if (answer.verdict == CInstantRecognition::Verdict::Wrong && settings.wrongTone) {
        player.Play(cuesounds::WrongAnswerTone(settings.gain));
    }
    return answer;
}

std::vector<CRecognitionSession::CharacterResult> CRecognitionSession::Results() const {
    std::vector<CharacterResult> results;
    for (const char c : characters) {
        results.push_back(
            {c, rules.Answers(c), rules.Errors(c), rules.MedianMilliseconds(c), rules.Early(c)});
    }
    return results;
}

RecognitionRecord CRecognitionSession::Record(std::chrono::system_clock::time_point now) const {
    RecognitionRecord record = StampLocalTime(RecognitionRecord(), now);
    record.set = settings.set;
    record.lesson = settings.set == RecognitionSet::Lesson ? settings.lesson : 0;
    record.signSpeed = settings.signSpeed;
    record.textSpeed = settings.textSpeed;
    record.limitMilliseconds = settings.limitMilliseconds;
    for (const CharacterResult& result : Results()) {
        if (result.answers > 0) {
            record.characters.push_back({result.character, result.answers, result.errors,
                                         result.medianMilliseconds, result.early});
        }
    }
    return record;
}

bool CRecognitionSession::Save(const CRecognitionFile& records,
                               std::chrono::system_clock::time_point now) const {
    return answers == 0 || records.Append(Record(now));
}
