#pragma once

#include "session/CaptionText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/KeyingSettings.h"
#include "training/CPaddleKeyer.h"
#include "training/CSendingDecoder.h"

// The sending practice window's rules. The learner keys with the key or paddle of the keying
// settings: keys of the keyboard (as X keysyms), the mouse buttons in the keying area (the left
// one the key or the dot lever, the right one the dash lever), or the serial lines' edges; each
// press and release comes with the moment it arrived on the monotonic clock. The keyer keys them
// at the sign speed and dot:dash ratio of the main window, the edges it keys go to the sidetone,
// and the decoder reads them. The view shows what was read, the learner's speed, and the measure
// of the fist against the timing model. One operation per user action, and Tick as time passes;
// the window renders View().
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
        kCaptionCount,
    };
    static CaptionList CzechCaptions();
    // The captions of the window's language, in the order of Caption.
    void SetCaptions(CaptionList languageCaptions);

    // The fist is measured once this many characters are read.
    static constexpr std::size_t kLeastCharactersMeasured = 5;
    // The text shown keeps the last this many characters.
    static constexpr std::size_t kMostCharactersShown = 400;

    struct View {
        std::string read;
        // The line is keyed now (the keying area shows it).
        bool keyDown = false;
        // The measure of the fist, a line each; empty until enough is read.
        std::vector<std::string> figures;
        // The word just read, for a screen reader to say once; empty when nothing new.
        std::string newWord;
        std::string areaText;
    };

    // `decimalSign` is the language's ("," in Czech).
    CVysilaniModel(const KeyingSettings& keying, int signSpeed, double dashRatio,
                   std::string decimalSign);

    void KeyPressed(int keysym, std::int64_t at);
    void KeyReleased(int keysym, std::int64_t at);
    void ButtonPressed(bool left, std::int64_t at);
    void ButtonReleased(bool left, std::int64_t at);
    void LeverEdge(Paddle lever, bool down, std::int64_t at);
    // Time has come to `now`: the keyer keys what falls due, the decoder ends what the silence
    // ends.
    void Tick(std::int64_t now);
    // When Tick is next needed at the latest: the keyer's next moment.
    std::optional<std::int64_t> NextDeadline() const { return keyer.NextDeadline(); }
    // The edges keyed since the last call, for the sidetone.
    std::vector<KeyEdge> TakeKeyedEdges();
    // A new practice: what was read and measured is dropped.
    void Clear();
    // The serial lines of the keying settings could not be read: the keying area says so.
    void LinesUnreadable() { linesUnreadable = true; }
    // Takes the word just read (View::newWord) as said.
    void WordAnnounced() { announcedWords = WordsRead(); }

    View GetView() const;

private:
    void Lever(Paddle lever, bool down, std::int64_t at);
    void Feed();
    std::size_t WordsRead() const;

    KeyingSettings settings;
    std::string decimal;
    std::int64_t dot;
    double ratio;
    CPaddleKeyer keyer;
    CSendingDecoder decoder;
    std::vector<KeyEdge> forSidetone;
    bool lineDown = false;
    std::size_t announcedWords = 0;
    bool linesUnreadable = false;
    CaptionList captions = CzechCaptions();
};
