#pragma once

#include <map>
#include <string>
#include <vector>

#include "training/CheckRecord.h"

// Practice that goes after the weak characters: each character of a set is drawn with a weight
// that grows with its error rate in the history of copy checks, and for characters the history
// has seen rarely. Half of every character's fair share is kept whatever the history says, so a
// text is never made of one character. Plain data; any thread.
class CCharacterWeights {
public:
    // A character sent fewer times than this counts as rarely seen.
    static constexpr int kWellKnown = 20;
    // The weighted set has about this many positions.
    static constexpr int kPositions = 2048;

    explicit CCharacterWeights(const std::vector<CheckRecord>& history);

    bool HasHistory() const { return !totals.empty(); }
    // The share of the draws each character of `set` gets, by its positions in the set (a
    // character twice in the set has twice the fair share) and the history; spaces keep theirs.
    std::map<char, double> Shares(const std::string& set) const;
    // A set whose positions, drawn evenly, give each character its share: `set` itself when there
    // is no history, so that drawing stays exactly as it was.
    std::string Weighted(const std::string& set) const;

private:
    std::map<char, CCopyCheck::CharacterCount> totals;
};
