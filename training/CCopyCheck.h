#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The comparison of what the user copied with the text that was sent. The two are aligned as
// groups first and characters second: the alignment makes the fewest character errors (a wrong,
// a missed or an extra character, or two neighbours swapped, cost one each), and among the
// alignments that make as few, it keeps the groups together: it pairs the spaces of the two texts,
// lets a run of missed or extra characters start and end where groups do, so that a group missed
// or added whole is one run that is marked whole, and opens as few such runs as it can. Where the
// spaces stand does not count otherwise: two groups run together or a group split in two cost
// nothing. Plain data; any thread.
class CCopyCheck {
public:
    // Transposed: one of two neighbouring characters copied in each other's place; the pair is
    // one error and neither of its characters is right.
    enum class Mark { Correct, Wrong, Missed, Extra, Transposed };

    struct Entry {
        Mark mark;
        char sent;    // the sent character; 0 for an extra one
        char copied;  // what was copied in its place; 0 for a missed one
        // Where in the sent text the character stands; an extra one stands before this position
        // (the sent text's length when it came after the last character).
        std::size_t position;
        // A missed character of a group missed whole, an extra one of a group added whole.
        bool wholeGroup = false;
    };

    struct Confusion {
        char sent;
        char copied;
        int count;
    };

    struct CharacterCount {
        int sent = 0;
        int wrong = 0;  // copied wrong or missed
    };

    // Longer texts than this are compared over their first this many characters, so that a
    // pasted novel cannot take the program's memory or time.
    static constexpr std::size_t kMaxCharacters = 2000;

    // Compares `copied` with `sent`; ASCII letters compare without regard to case.
    CCopyCheck(std::string_view sent, std::string_view copied);

    // In the order of the sent text, each extra character before the one it preceded.
    const std::vector<Entry>& Entries() const { return entries; }
    int SentCount() const { return sentCount; }
    // Sent characters copied right, in their place.
    int CorrectCount() const { return correctCount; }
    int WrongCount() const { return wrongCount; }
    int MissedCount() const { return missedCount; }
    int ExtraCount() const { return extraCount; }
    // Pairs of neighbours swapped; each pair holds two sent characters.
    int TranspositionCount() const { return transpositionCount; }
    // Groups missed whole and groups added whole.
    int MissedGroupCount() const { return missedGroupCount; }
    int ExtraGroupCount() const { return extraGroupCount; }
    // Wrong, missed and extra characters and transpositions.
    int ErrorCount() const { return wrongCount + missedCount + extraCount + transpositionCount; }
    // The share of right characters among the sent and the extra ones, in per cent, so that
    // copying more than was sent costs; 0 when nothing was sent or copied.
    double ScorePercent() const;
    // The score of these counts, as ScorePercent computes it.
    static double Score(int correct, int sent, int extra);
    // Wrong copies by frequency, the most frequent first (ties in character order). Swapped
    // neighbours are no confusion.
    std::vector<Confusion> Confusions() const;
    // How often each sent character came and how often it was copied wrong or missed.
    const std::map<char, CharacterCount>& Characters() const { return characters; }

private:
    std::vector<Entry> entries;
    std::map<char, CharacterCount> characters;
    int sentCount = 0;
    int correctCount = 0;
    int wrongCount = 0;
    int missedCount = 0;
    int extraCount = 0;
    int transpositionCount = 0;
    int missedGroupCount = 0;
    int extraGroupCount = 0;
};
