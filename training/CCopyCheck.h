#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// The comparison of what the user copied with the text that was sent. The two are aligned by the
// smallest number of edits (a wrong, a missed or an extra character costs one each), so that one
// slip costs only itself and does not shift the rest. Spaces and line breaks only separate groups
// and are not compared. Plain data; any thread.
class CCopyCheck {
public:
    enum class Mark { Correct, Wrong, Missed, Extra };

    struct Entry {
        Mark mark;
        char sent;    // the sent character; 0 for an extra one
        char copied;  // what was copied in its place; 0 for a missed one
        // Where in the sent text the character stands; an extra one stands before this position
        // (the sent text's length when it came after the last character).
        std::size_t position;
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
    int CorrectCount() const { return correctCount; }
    // Wrong, missed and extra characters.
    int ErrorCount() const { return errorCount; }
    // The share of the sent characters copied right, in per cent; 0 when nothing was sent.
    double ScorePercent() const;
    // Wrong copies by frequency, the most frequent first (ties in character order).
    std::vector<Confusion> Confusions() const;
    // How often each sent character came and how often it was not copied right.
    const std::map<char, CharacterCount>& Characters() const { return characters; }

private:
    std::vector<Entry> entries;
    std::map<char, CharacterCount> characters;
    int sentCount = 0;
    int correctCount = 0;
    int errorCount = 0;
};
