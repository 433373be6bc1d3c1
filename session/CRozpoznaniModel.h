#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/CRecognitionSession.h"
#include "session/CaptionText.h"
#include "training/CRecognitionFile.h"

class CCuePlayer;

// The instant recognition window's rules: the choices of a run, each bounded as it is set, and
// the runs' lifecycle. A run ends with its last answer, and is then summed up; it is stored then,
// when the next one starts, when the window closes and when the player refuses a sound; a run
// begins only on a player that opens and a set with characters.
// One operation per user action; each says what went wrong, in the order it happened, and the
// window renders View().
class CRozpoznaniModel {
public:
    // The limit of a quick answer, in milliseconds.
    static constexpr int kLowestLimit = 200;
    static constexpr int kHighestLimit = 5000;
    // The answers of a run.
    static constexpr int kShortestRun = 10;
    static constexpr int kLongestRun = 500;

    // The window's captions, in the order of its language file "localRZ".
    enum Caption {
        kTitle,
        kSet,
        kSetLesson,
        kSetLetters,
        kSetDigits,
        kSetAll,
        kLimit,
        kWrongTone,
        kStart,
        kClose,
        kHint,
        kVerdictName,
        kRight,
        kSlow,
        kWrong,
        kEarly,
        kSpeedName,
        kSpeed,
        kSpeedRose,
        kNoSound,
        kEmptySet,
        kStatisticsHeading,
        kStatisticsName,
        kColumnCharacter,
        kColumnReaction,
        kColumnRecognitionErrors,
        kColumnCopyErrors,
        kColumnEarly,
        kLength,
        kRunEnd,
        kCharacterLine,
        kSlowest,
        kSummaryName,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();

    enum class Problem {
        kNoSound,      // the player did not open or refused a character: no run, or it ended
        kEmptySet,     // the set has nothing to practise
        kWriteFailed,  // the run could not be added to the records (the file is as it was)
    };
    using Problems = std::vector<Problem>;
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    // A run that reached its length: its answers and each character's, the slowest first (those
    // never timed after the timed ones).
    struct Summary {
        int answers = 0;
        int right = 0;
        int wrong = 0;
        int early = 0;
        std::vector<CRecognitionSession::CharacterResult> characters;
    };
    struct View {
        RecognitionSettings settings;
        // A run is on: the choices hold for it.
        bool running = false;
        int signSpeed = 0;
        // The last run reached its length; none while a run is on or none ended so.
        std::optional<Summary> summary;
        // The texts shown: the last answer's verdict (empty before the run's first), the speed or
        // its rise with the answer that made it, the summary's lines (empty without one), and
        // what a screen reader is told of the last answer, in one message.
        std::string verdict;
        std::string speed;
        std::string summaryText;
        std::string announcement;
    };
    // A key press: its answer (none when nothing waited or the key is no character) and, when
    // it ended the run, what went wrong in storing it.
    struct Pressed {
        std::optional<CRecognitionSession::Answer> answer;
        Problems problems;
    };

    // `player` and `records` (the records file) outlive the model.
    CRozpoznaniModel(CCuePlayer& player, const RecognitionSettings& start,
                     const CRecognitionFile& records,
                     WallClock wallClock = &std::chrono::system_clock::now);
    ~CRozpoznaniModel();

    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

    void ChooseSet(int index);
    void SetLimit(int milliseconds);
    void SetWrongTone(bool wrongTone);
    void SetLength(int answers);
    // "Start": stores the run before and begins a new one with the first character.
    Problems Start();
    // The pause after an answer is over: the next character.
    Problems Next();
    // A key press at `pressNanoseconds` on the monotonic clock; the run's last answer ends it.
    Pressed Press(char typed, std::int64_t pressNanoseconds);
    // The window closes: the sound stops and the run is stored.
    Problems Close();

    // A run is on.
    bool Running() const { return session != nullptr; }
    const RecognitionSettings& Settings() const { return settings; }
    const CRecognitionSession* Session() const { return session.get(); }
    const std::string& RecordsPath() const { return records->Path(); }
    // The system's reason (errno) of the last records write that failed.
    int WriteError() const { return writeError; }
    View GetView() const;

private:
    // The summary's lines, parted by line feeds.
    std::string SummaryText(const Summary& ended) const;
    // Stores the run (when anything was answered) and ends it.
    void EndRun(Problems& problems);

    CCuePlayer& player;
    RecognitionSettings settings;
    const CRecognitionFile* records;
    int writeError = 0;
    WallClock wallClock;
    std::unique_ptr<CRecognitionSession> session;
    std::optional<Summary> summary;
    std::optional<CRecognitionSession::Answer> lastAnswer;
    CaptionList captions = CzechCaptions();
};
