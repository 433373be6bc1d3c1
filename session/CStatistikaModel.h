#pragma once

#include <optional>
#include <string>
#include <vector>

#include "session/CaptionText.h"
#include "training/CHistoryStatistics.h"
#include "training/CallsignRunRecord.h"
#include "training/CheckRecord.h"
#include "training/RecognitionRecord.h"
#include "training/SendingRecord.h"

// The statistics window's figures, from the history of copy checks, the runs of instant
// recognition, the runs of callsigns and the sessions of sending practice: each check's score and
// the characters' error rates with the ranges of their axes, the table of checks, the score against
// the noise, each character's reaction beside its error rates, the fist's progress. Computed once;
// the window renders View().
class CStatistikaModel {
public:
    // The confusions of this many last checks are listed, at most kShownConfusions of them.
    static constexpr std::size_t kRecentChecks = 10;
    static constexpr int kShownConfusions = 10;
    // The bar chart shows at most this many characters.
    static constexpr int kMaxBars = 30;

    // The captions of the language file "localST", in its order.
    enum Caption {
        kTitle,
        kEmpty,
        kScoreTitle,
        kScoreAxis,
        kCheckAxis,
        kErrorTitle,
        kErrorAxis,
        kConfusions,
        kConfusion,
        kNoConfusions,
        kClose,
        kColumnDate,
        kColumnKind,
        kColumnLesson,
        kColumnSign,
        kColumnText,
        kColumnRatio,
        kColumnSent,
        kColumnErrors,
        kColumnScore,
        kColumnRight,
        kColumnWrong,
        kColumnMissed,
        kColumnExtra,
        kSnrHeading,
        kSnrColumn,
        kSnrChecks,
        kWithoutNoise,
        kTableName,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    // The captions of the language file "localVS", in its order: the table of sending sessions,
    // the names of the practices and the line of progress ("%1" the speeds, "%2" to "%6" the
    // spreads of dot, dash, element gap, character gap and word gap, each as "before → now").
    enum SendingCaption {
        kSendingHeading,
        kSendingColumnDate,
        kSendingColumnPractice,
        kSendingColumnSpeed,
        kSendingColumnRatio,
        kSendingColumnDot,
        kSendingColumnDash,
        kSendingColumnElementGap,
        kSendingColumnCharacterGap,
        kSendingColumnWordGap,
        kSendingColumnRight,
        kSendingFree,
        kSendingEcho,
        kSendingCopy,
        kSendingProgress,
        kSendingColumnHighest,
        kSendingColumnReaction,
        kSendingCaptionCount,
    };
    static CaptionList SendingCzechCaptions();
    // At most this many callsign runs, and as many sending sessions, are shown.
    static constexpr std::size_t kShownRuns = 20;
    // The progress sets the mean of at most this many first sessions shown against that of as
    // many last ones.
    static constexpr std::size_t kProgressSessions = 3;
    // How many of the latest scores a reader hears from the chart.
    static constexpr std::size_t kScoresSaid = 20;
    // Column headings are wrapped at about this many characters a line, so that the table's
    // thirteen columns, named in full words, fit a 1024-pixel screen.
    static constexpr std::size_t kHeadingLine = 10;

    // A table in words: its column titles and each row's cells.
    struct TextTable {
        std::vector<std::string> headers;
        std::vector<std::vector<std::string>> cells;
    };

    // A value axis: its range and the step between its labels.
    struct Axis {
        double low = 0;
        double high = 0;
        double step = 1;
        bool operator==(const Axis&) const = default;
    };
    struct Bar {
        char character;
        double percent;
    };
    // A check in the table; `number` counts the checks from the first.
    struct Row {
        int number = 0;
        std::string date;  // "YYYY-MM-DD HH:MM", local time
        int kind = 0;
        std::optional<int> lesson;
        int signSpeed = 0;
        int textSpeed = 0;
        double ratio = 3.0;  // the dash in dots
        int sent = 0;
        int right = 0;
        int wrong = 0;
        int missed = 0;
        int extra = 0;
        int errors = 0;
        double score = 0;
    };
    struct Reaction {
        char character;
        std::optional<int> medianMilliseconds;
        double errorPercent;                     // in recognition
        std::optional<double> copyErrorPercent;  // in the copy checks; none when never sent
        int early = 0;  // right answers before the character had ended, untimed
    };
    struct View {
        // No check stored yet.
        bool empty = true;
        // Each check's score in order, on an axis of the checks numbered from 1.
        std::vector<double> scores;
        Axis checkAxis;
        // The error rates, the worst first, on an axis of round figures.
        std::vector<Bar> bars;
        Axis rateAxis;
        std::vector<CCopyCheck::Confusion> confusions;
        // The newest check first.
        std::vector<Row> rows;
        // The score against the noise; shown when some check was heard in noise.
        std::vector<CHistoryStatistics::SnrScore> snr;
        bool anyNoise = false;
        // The slowest character first; nothing without runs.
        std::vector<Reaction> reactions;
        // Finished runs, the newest first, then the runs left before their end (the window
        // closed or a new run started), the newest first, each marked.
        struct CallsignRun {
            CallsignRunRecord run;
            bool finished = true;
        };
        std::vector<CallsignRun> callsignRuns;
        // The last sessions of sending practice, at most kShownRuns, the oldest first so that the
        // progress reads down.
        std::vector<SendingRecord> sendingSessions;
    };

    explicit CStatistikaModel(const std::vector<CheckRecord>& history,
                              const std::vector<RecognitionRecord>& recognition = {},
                              std::vector<CallsignRunRecord> callsignRuns = {},
                              const std::vector<SendingRecord>& sendingSessions = {});

    const View& GetView() const { return view; }

    // The words of the window's language: its captions (in the order of Caption), the names of
    // the text kinds by their index, and the decimal sign.
    void SetLanguage(CaptionList languageCaptions, std::vector<std::string> languageKindNames,
                     std::string languageDecimalSign);
    const CaptionList& Captions() const { return captions; }

    // The tables in words: the checks (headings wrapped into lines of whole words), the score
    // against the noise, the reactions under the captions of the recognition window's language
    // file, and the callsign runs under those of the callsign window's.
    TextTable HistoryTable() const;
    TextTable SnrTable() const;
    TextTable ReactionTable(const CaptionList& recognitionCaptions) const;
    TextTable CallsignRunTable(const CaptionList& callsignCaptions) const;
    // The sending sessions under the captions of "localVS": date, practice, speed, dash:dot
    // ratio, the spreads of the five kinds (a dash for a kind never sent) and the share right (a
    // dash for free keying).
    TextTable SendingTable(const CaptionList& sendingCaptions) const;
    // The mean speed and spreads of the first sessions shown against those of the last: of
    // kProgressSessions each, fewer when there are too few sessions for both apart. Empty with
    // fewer than two sessions.
    std::string SendingProgress(const CaptionList& sendingCaptions) const;
    // What a reader hears of the charts: the latest scores by their numbers on the axis, and each
    // character's error rate.
    std::string ScoresSaid() const;
    // The recent confusions, in a line.
    std::string ConfusionsText() const;
    std::string RatesSaid() const;

private:
    std::string Percent(double value) const;

    View view;
    CaptionList captions = CzechCaptions();
    std::vector<std::string> kindNames;
    std::string decimalSign = ",";
};
