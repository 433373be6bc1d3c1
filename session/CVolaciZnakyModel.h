#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "session/CCallsignSession.h"
#include "session/CaptionText.h"
#include "text/CRandomSource.h"
#include "training/CCallsignRecordsFile.h"

class CCuePlayer;
class CNotifier;

// The callsign window's rules: the choices of a run and the runs' lifecycle. What was answered is
// stored when the run ends, when the next one starts and when the window closes, once; each run
// is drawn from a seed of the program's one source. One operation per user action; the window
// renders View().
class CVolaciZnakyModel {
public:
    // An answer is kept to the length the records keep.
    static constexpr std::size_t kLongestAnswer = CCallsignRecordsFile::kLongestText;

    // The captions of the language file "localVZ", in its order: the window's, then those of the
    // statistics' table of runs, then the score's rule.
    enum Caption {
        kTitle,
        kStartSpeed,
        kStep,
        kWrongTone,
        kStart,
        kAnswer,
        kRepeat,
        kClose,
        kVerdictName,
        kRight,
        kWrong,
        kNothingTyped,
        kProgress,
        kSummary,
        kSummaryName,
        kNoSound,
        kBeforeStart,
        kRunsHeading,
        kRunsColumnDate,
        kRunsColumnStart,
        kRunsColumnScore,
        kRunsColumnHighest,
        kRunsColumnRight,
        kRunsTableName,
        kRunsColumnState,
        kRunFinished,
        kRunLeft,
        kScoreRule,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();

    using SeedSource = std::function<std::uint32_t()>;
    using WallClock = std::function<std::chrono::system_clock::time_point()>;

    struct View {
        CCallsignSession::Settings settings;
        // A run was started (and did not fail to start).
        bool started = false;
        // A callsign waits for its answer: the answer field and the repeat can be used.
        bool running = false;
        int speed = 0;
        int answered = 0;
        int callsigns = 0;
        int score = 0;
        // The run as stored, for the summary once it is over.
        CallsignRunRecord record;
        int right = 0;
        // The texts shown: the last answer's verdict (empty before a run's first), the progress
        // (the hint before a run, empty once it is over) and the summary with every miss (empty
        // before the end).
        std::string verdict;
        std::string progress;
        std::string summaryText;
    };

    // `player` and `notifier` (which says a records file that cannot be written) outlive the
    // model, as does `records`, the records file.
    CVolaciZnakyModel(const CCallsignSession::Settings& defaults, CCuePlayer& player,
                      const CCallsignRecordsFile& records, CNotifier& notifier,
                      SeedSource seeds = &CRandomSource::TickSeed,
                      WallClock wallClock = &std::chrono::system_clock::now);
    ~CVolaciZnakyModel();

    // The captions of the window's language, in the order of Caption, and its decimal sign.
    void SetCaptions(CaptionList languageCaptions, std::string languageDecimalSign);

    void SetStartSpeed(int speed);
    void SetStep(int step);
    void SetWrongTone(bool wrongTone);
    // "Start": stores the run before and plays the first callsign of a new one; false, with no
    // run, when the sound card cannot be used.
    bool Start();
    // Enter in the answer field: judges `typed` (cut to kLongestAnswer); nothing while no
    // callsign waits or when nothing but spaces was typed.
    std::optional<CallsignRunRecord::Answer> Answer(const std::string& typed);
    void Repeat();
    // The timer: hands the player what of the sounds it can take now.
    void Feed();
    // The window closes: what was answered is stored and the sound stops.
    void Close();

    const CCallsignSession* Session() const { return session.get(); }
    View GetView() const;

private:
    void StoreRun();
    // An answer as the verdict and the summary's misses say it.
    std::string AnswerText(const CallsignRunRecord::Answer& answer) const;

    CCallsignSession::Settings settings;
    CCuePlayer& player;
    const CCallsignRecordsFile* records;
    CNotifier& notifier;
    SeedSource seeds;
    WallClock wallClock;
    std::unique_ptr<CCallsignSession> session;
    std::optional<CallsignRunRecord::Answer> lastAnswer;
    CaptionList captions = CzechCaptions();
    std::string decimalSign = ",";
};
