#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/CMorseTable.h"
#include "core/TextKind.h"

class CNotifier;

// Longest training text, five display lines of 60 characters.
inline constexpr int kMaxTextLength = 300;
inline constexpr int kLineLength = 60;

// One training text (single-byte Windows-1250, spaces between words, no line breaks) with its
// word cursor, kind and zero-shortening flag. Builds the element string for the keying engine and
// the line forms for display and files. Not shared between threads: each user holds its own copy.
class CMorseText {
public:
    CMorseText() = default;
    virtual ~CMorseText();
    CMorseText(const CMorseText&) = default;
    CMorseText& operator=(const CMorseText&) = default;

    // A text read from file contents: bytes up to the first zero byte, every CR and LF dropped,
    // cut to kMaxTextLength with a warning, then characters without a code removed.
    static CMorseText LoadFromFileContents(std::string_view bytes, int kind, CNotifier& notifier);

    void SetText(const std::string& newText);
    const std::string& GetText() const { return text; }
    void SetKind(int newKind) { kind = newKind; }
    int GetKind() const { return kind; }
    void SetShortZeros(int flag) { shortZeros = flag; }
    int GetShortZeros() const { return shortZeros; }
    void Rewind() { cursor = 0; }

    int WordCount() const;
    // The word at the cursor; the cursor stops on the space after it or at the end.
    std::string NextWord();
    // Where the prosign that opens at `open` closes: at a '>' after a '<' and at least two
    // characters that have a code, with nothing but line ends (of a display) between them, as in
    // "<AR>", "<SK>", "<KN>", "<BT>"; npos for anything else.
    static std::size_t ProsignClose(std::string_view text, std::size_t open);
    // Per character its code and 'm', per space of the text one space; a prosign's characters
    // run together, as one character with one 'm'. Rewinds first.
    std::string ToElements();
    // CR LF after every 60th character.
    std::string FormatLines() const;
    // In display lines of at most 60 characters, each ended by CR LF after a space, so that no
    // word is split across two lines; a word longer than a line is split at its end. Where the
    // words would then need more lines than a text of the longest length fills, in lines of
    // exactly 60 as FormatLines gives them. Either way, removing the CR LFs gives the text back.
    std::string FormatDisplayLines() const;
    // Whether `text` fills no more lines than a text of the longest length when no word is split.
    static bool FitsDisplayWithWholeWords(std::string_view text);
    // Padded with spaces to 300 characters, then in lines.
    std::string FormatPadded() const;
    // Drops every character that is neither a space nor has a code, but for a prosign's
    // brackets; one warning if any went.
    void RemoveUnsupported(CNotifier& notifier);

    // A random text of kind 0 to 3 drawn from the positions of `set`, seeded from the clock.
    // Returns an empty string when the set leaves nothing to draw (empty, or only spaces where a
    // rule needs a character), which no real text is: a generated text has 300 characters.
    std::string Generate(const std::string& set, int generatedKind) const;
    static std::string Generate(const std::string& set, int generatedKind, std::uint32_t seed);

private:
    std::string text;
    std::string word;
    std::size_t cursor = 0;
    int kind = -1;
    int shortZeros = 0;
    CMorseTable table;
};
