#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "training/CheckRecord.h"

// Practice that goes after the weak characters. Each character of a set is drawn with a weight
// that grows with how weak the history of copy checks shows it to be: its error rate, judged with
// caution while it has been sent only a few times (as though it had first been sent ten times
// and copied wrong once), and how often other characters were copied as it, so that the
// characters a weak one is taken for come up more too. A character never or rarely sent counts as
// moderately weak: it gains, but less than one the history has proven weak. Half of every
// character's fair share is kept whatever the history says, so a text is never made of one
// character. Where instant recognition has timed the characters, a slow one weighs more as well:
// by how much its reaction exceeds the typical reaction of the timed characters (their median),
// up to a limit, so that a character recognised late is practised like one copied wrongly.
// Plain data; any thread.
class CCharacterWeights {
public:
    // The weighted set has about this many positions.
    static constexpr int kPositions = 2048;
    // The cautious start of every character's error rate: as though sent this often ...
    static constexpr double kPriorSent = 10.0;
    // ... and copied wrong this often.
    static constexpr double kPriorWrong = 1.0;
    // A character's weight is 1 + kWeakness x its error rate + kPartner x the rate at which it
    // was written for another character.
    static constexpr double kWeakness = 10.0;
    static constexpr double kPartner = 4.0;
    // ... + kSlowness x min(kMaximumSlowness, reaction / typical reaction - 1) for a character
    // slower than typical.
    static constexpr double kSlowness = 4.0;
    static constexpr double kMaximumSlowness = 1.5;

    explicit CCharacterWeights(const std::vector<CheckRecord>& history);
    // The same, with each timed character's reaction in milliseconds (none timed: as above).
    CCharacterWeights(const std::vector<CheckRecord>& history,
                      const std::map<char, int>& reactionMilliseconds);

    bool HasHistory() const { return !totals.empty() || !writtenFor.empty() || !reactions.empty(); }
    // The share of the draws each character of `set` gets, by its positions in the set (a
    // character twice in the set has twice the fair share) and the history; spaces keep theirs.
    std::map<char, double> Shares(const std::string& set) const;
    // A set whose positions, drawn evenly, give each character its share: `set` itself when there
    // is no history, so that drawing stays exactly as it was.
    std::string Weighted(const std::string& set) const;

private:
    double Weight(char c) const;

    std::map<char, CCopyCheck::CharacterCount> totals;
    // How often each character was copied in place of another one.
    std::map<char, long long> writtenFor;
    // The timed characters' reactions and the typical one among them.
    std::map<char, int> reactions;
    double typicalReaction = 0.0;
};
