#pragma once

#include "session/CaptionText.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/KeyingSettings.h"
#include "training/CEchoTrainer.h"
#include "training/CFistMeasure.h"
#include "training/CPaddleKeyer.h"
#include "training/CSendingDecoder.h"
#include "training/SendingRecord.h"

class CCuePlayer;

// How sending practice begins: the main window's speed, ratio, tone and volume, the characters of
// echo practice (the course's lesson, the weak ones weighted), the main window's text for copy
// sending and the words of the captions' language.
struct SendingStart {
    int signSpeed = 100;
    double dashRatio = 3.0;
    int toneHz = 600;
    float gain = 0.5F;
    std::string echoCharacters;
    std::string copyText;
    std::string_view wordList;
    std::uint32_t seed = 1;
    // What keys ("Klávesa klíče: levý Ctrl"), for the keying area to say; empty: nothing said.
    std::string inputDescription;
};

// The sending practice window's rules. The learner keys with the key or paddle of the keying
// settings: keys of the keyboard (as X keysyms), the mouse buttons in the keying area (the left
// one the key or the dot lever, the right one the dash lever), or the serial lines' edges; each
// press and release comes with the moment it arrived on the monotonic clock. The keyer keys them
// at the sign speed and dot:dash ratio of the main window, the edges it keys go to the sidetone,
// and the decoder reads them. The view shows what was read, the learner's speed, and the measure
// of the fist against the timing model. Three practices: free keying; echo, where the program
// keys an item through the cue player and judges it sent back, the speed following; and copy
// sending, where the main window's text is sent and judged by the copy check. The learner's own
// sending can be heard back, keyed by the fist model fitted to it. One operation per user action,
// and Tick as time passes; the window renders View().
class CVysilaniModel {
public:
    // The captions of the language file "localVY", in its order.
    enum Caption {
        kTitle,
        kArea,
        kRead,
        kNothingRead,
        kFist,
        kDot,
        kDash,
        kElementGap,
        kCharacterGap,
        kWordGap,
        kFigureLine,
        kRatioAndSpeed,
        kWorstHeading,
        kWorstPlace,
        kClear,
        kClose,
        kLinesUnreadable,
        kPractice,
        kPracticeFree,
        kPracticeEcho,
        kPracticeCopy,
        kItem,
        kItemCharacter,
        kItemGroup,
        kItemWord,
        kItemCallsign,
        kStart,
        kStop,
        kJudge,
        kListen,
        kSendBack,
        kEchoRight,
        kEchoWrong,
        kEchoScore,
        kEchoReaction,
        kNothingToEcho,
        kCopyHeading,
        kNoCopyText,
        kCopyResult,
        kPlayOwn,
        kSaveOwn,
        kNothingToPlay,
        kHistogram,
        kMeasureLater,
        kCopyWrong,
        kCopyReached,
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

    // The fist is measured (and a session recorded) once this many characters are read.
    static constexpr std::size_t kLeastCharactersMeasured = 5;
    // The text shown keeps the last this many characters.
    static constexpr std::size_t kMostCharactersShown = 400;
    // Copy sending takes at most this many characters of the main window's text.
    static constexpr std::size_t kMostCopyCharacters = 500;
    // After a verdict the next item of echo practice comes this much later.
    static constexpr std::int64_t kVerdictNanoseconds = 1200000000;
    // The learner's sending heard back is handed to the cue player this much at a time, the next
    // piece once the player has less than this much left.
    static constexpr std::size_t kPlaySamples = 4 * 44100;
    static constexpr std::int64_t kPlayAheadNanoseconds = 2000000000;

    struct Histogram {
        std::string name;
        std::vector<int> bins;
        double binDots = 0.0;
        double modelDots = 0.0;
        bool operator==(const Histogram&) const = default;
    };
    struct View {
        std::string read;
        // The line is keyed now (the keying area shows it).
        bool keyDown = false;
        // The measure of the fist, a line each; empty until enough is read.
        std::vector<std::string> figures;
        // Each kind's lengths, against the model's length.
        std::vector<Histogram> histograms;
        // What a screen reader should say once (a word read, a verdict); empty when nothing new.
        std::string announcement;
        std::string areaText;
        SendingPractice practice = SendingPractice::kFree;
        EchoItem item = EchoItem::kCharacter;
        // Echo: Start or Stop; the item list only while stopped.
        bool echoRunning = false;
        // The state of echo practice or the text to send and its verdict.
        std::string task;
        std::string verdict;
        bool canJudge = false;
        bool canPlayOwn = false;
    };

    // `decimalSign` is the language's ("," in Czech); `player` (null: none) plays echo practice's
    // items and the learner's own sending, and outlives the model.
    CVysilaniModel(const KeyingSettings& keying, SendingStart start, std::string decimalSign,
                   CCuePlayer* player = nullptr);

    void KeyPressed(int keysym, std::int64_t at);
    void KeyReleased(int keysym, std::int64_t at);
    void ButtonPressed(bool left, std::int64_t at);
    void ButtonReleased(bool left, std::int64_t at);
    void LeverEdge(Paddle lever, bool down, std::int64_t at);
    // Time has come to `now`: the keyer keys what falls due, the decoder ends what the silence
    // ends, echo practice judges and keys the next item, the sending heard back goes on.
    void Tick(std::int64_t now);
    // When Tick is next needed at the latest: the keyer's next moment.
    std::optional<std::int64_t> NextDeadline() const { return keyer.NextDeadline(); }
    // The edges keyed since the last call, for the sidetone.
    std::vector<KeyEdge> TakeKeyedEdges();
    // A new practice: what was read and measured is dropped.
    void Clear();
    // The serial lines of the keying settings could not be read: the keying area says so.
    void LinesUnreadable() { linesUnreadable = true; }
    // Takes View::announcement as said.
    void Announced() { announcedSerial = announcementSerial; }

    // Chooses the practice; what was read before is left behind (take its record first).
    void ChoosePractice(SendingPractice practice);
    void ChooseItem(EchoItem item);
    // Echo practice keys its first item; false when there is nothing to key or the
    // player refused it.
    bool StartEcho(std::int64_t now);
    void StopEcho();
    // Copy sending: judges what was sent against the text.
    void JudgeCopy();
    // Plays what was read, keyed as the learner keyed it; false when too little was read or the
    // player refused it.
    bool PlayOwn(std::int64_t now);
    // The same as the bytes of a WAV file; empty when too little was read.
    std::string OwnSendingWav() const;

    // The session's record stamped with `now`, when enough was read to measure the fist; the
    // practice then starts afresh.
    std::optional<SendingRecord> Finish(std::chrono::system_clock::time_point now);

    View GetView() const;
    const SendingStart& Start() const { return start; }

private:
    enum class EchoPhase { kStopped, kListening, kSending, kVerdict };

    void Key(int keysym, bool down, std::int64_t at);
    void Lever(Paddle lever, bool down, std::int64_t at);
    // Copy sending's counts and verdict; false when there is nothing to judge.
    bool ScoreCopy();
    const FistMeasure& Measured() const;
    void Feed();
    void Prompt(std::int64_t now);
    std::int64_t HeardEnd() const;
    void PlayPiece(std::int64_t now);
    void JudgeEcho(std::int64_t now);
    std::string ReadSincePrompt() const;
    std::size_t WordsRead() const;
    void Announce(std::string text);

    KeyingSettings settings;
    SendingStart start;
    std::string decimal;
    CCuePlayer* player;
    std::int64_t dot;
    double ratio;
    CPaddleKeyer keyer;
    CSendingDecoder decoder;
    std::vector<KeyEdge> forSidetone;
    bool lineDown = false;
    std::size_t announcedWords = 0;
    std::string announcement;
    int announcementSerial = 0;
    int announcedSerial = 0;
    bool linesUnreadable = false;

    SendingPractice practice = SendingPractice::kFree;
    EchoItem itemKind = EchoItem::kCharacter;
    CEchoTrainer echo;
    EchoPhase phase = EchoPhase::kStopped;
    // Where in the decoder's text the answer to the item (or the copy) begins.
    std::size_t promptAt = 0;
    std::int64_t nextPromptAt = 0;
    bool keyedSincePrompt = false;
    std::vector<int> reactions;
    std::string verdict;
    int copyRight = 0;
    int copyJudged = 0;
    // Echo practice's counts over every run of the session (a new item kind starts a new run).
    int echoRight = 0;
    int echoJudged = 0;
    int echoHighest = 0;
    std::int64_t promptedAt = 0;
    int echoRuns = 0;
    std::int64_t lastNow = 0;
    struct MeasureCache {
        std::size_t intervals;
        std::string characters;
        FistMeasure measure;
    };
    mutable std::optional<MeasureCache> measured;

    std::vector<float> toPlay;
    std::size_t played = 0;
    std::int64_t queuedUntil = 0;

    CaptionList captions = CzechCaptions();
};
