#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "training/CPaddleKeyer.h"

// The learner's sending read back as text, live, from the keyed edges: each mark a dot or a
// dash, each space a gap within a character, between characters or between words, told apart by
// the learner's own lengths. It adapts as the learner sends: the dot and the dash are the two
// groups the last marks fall into, and the three kinds of space the three groups the last spaces
// fall into, all of them moving with the tempo of the marks, so that a change of speed by half as
// much again is still read right and is followed within a few characters; a space belongs to the
// kind it lies fewer spreads from (the boundary lies nearer the kind keyed more evenly), and no
// gap under 1.3 dots ends a character. A code the table does not know is mended where one of its
// marks or gaps came near its boundary and the other reading gives known characters. At its end a
// word is read again with what its own marks and spaces taught (the first word of a learner far
// slower or faster than the speed set is read right once it ends). A key
// held far too long, or a long pause, is read but not learnt from. It starts from
// the timing model at the sign speed given. Every element is kept with its length and the character
// it belongs to, for the measure of the fist. Plain data; one caller at a time.
class CSendingDecoder {
public:
    // The kinds of interval of a learner's sending, as the timing model has them.
    enum Kind { kDot, kDash, kElementGap, kCharacterGap, kWordGap, kKindCount };

    struct Interval {
        Kind kind;
        std::int64_t nanoseconds;
        // The character the interval belongs to (a gap to the character before it) and its
        // element's place in it, from 0.
        std::size_t character;
        int element;
    };

    // `dotNanoseconds`: the dot of the sign speed the learner practises at, where reading starts.
    explicit CSendingDecoder(std::int64_t dotNanoseconds, double dashRatio = 3.0);

    // The next edge of the keyed line; edges alternate, the first a key-down.
    void Add(const KeyEdge& edge);
    // Ends the character (and the word) being sent when the line has stayed up until `now` for
    // longer than a character's gap (a word's): what a listener would have written by then.
    void Idle(std::int64_t now);

    // What was read so far: characters, a space between words; a code the table does not know
    // reads as '*'.
    const std::string& Text() const { return text; }
    // The learner's dot as now estimated, in nanoseconds.
    double DotNanoseconds() const { return dot; }
    double MeanNanoseconds(Kind kind) const;
    const std::vector<Interval>& Intervals() const { return intervals; }
    // The characters read, without the spaces, in the numbering of Interval::character.
    const std::string& Characters() const { return characters; }

private:
    void Mark(std::int64_t nanoseconds);
    void Space(std::int64_t nanoseconds);
    void EndCharacter();
    std::size_t Mend();
    void AddCharacter(const std::string& elements);
    void EndWord();
    void FitMarks();
    double SpaceBoundary(Kind lower, Kind upper) const;
    void FitSpaces();
    void KeepInPlace();

    static constexpr std::size_t kMarkWindow = 20;
    static constexpr std::size_t kSpaceWindow = 30;
    double dot = 0.0;
    double dash = 0.0;
    std::array<double, kMarkWindow> recentMarks{};
    std::size_t markCount = 0;
    // The logarithms of the last spaces (in nanoseconds), and the element, character and word
    // gaps' means and spreads (standard deviations) on that scale.
    std::array<double, kSpaceWindow> recentSpaces{};
    std::size_t spaceCount = 0;
    std::array<double, 3> spaceMean{};
    std::array<double, 3> spaceSpread{};
    bool down = false;
    std::int64_t lastEdge = 0;
    bool started = false;
    std::string code;
    // For each element of `code`, how near its mark (and the gap after it) came to being read the
    // other way: the distance from the boundary on a logarithmic scale. `codeStart` is where the
    // code's first mark stands in `intervals`.
    std::vector<double> markDoubts;
    std::vector<double> gapDoubts;
    std::size_t codeStart = 0;
    std::string text;
    std::string characters;
    std::vector<Interval> intervals;
    bool wordEnded = true;
    // Where the word being sent begins in `text`, `characters` and `intervals`.
    std::size_t wordText = 0;
    std::size_t wordCharacter = 0;
    std::size_t wordInterval = 0;
};
