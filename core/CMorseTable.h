#pragma once

#include <string>
#include <string_view>

class CNotifier;

// Which codes the punctuation marks have: the program's own table (its comma is the international
// full stop, its exclamation mark the international comma), or the international one of the ITU
// (ITU-R M.1677). Letters and digits are the same in both.
enum class Punctuation { kProgram, kInternational };

// Stateless lookup of the Morse code of a single-byte (Windows-1250) character, and the validator
// used on edit controls. Safe to use from any thread.
class CMorseTable {
public:
    virtual ~CMorseTable();

    // The code of `character` as dots and dashes, or an empty view when it has none. ASCII a-z are
    // looked up as A-Z. With `abbreviateZero`, '0' is a single dash.
    static std::string_view CodeOf(char character, bool abbreviateZero);
    static bool HasCode(char character);
    // Whether `character` has a code in either table: what a course order or a record keeps,
    // so that it means the same whichever table is in use.
    static bool HasCodeInEitherTable(char character);

    // The table every lookup uses from now on, in every thread; the program's by default.
    static void SetPunctuation(Punctuation table);
    static Punctuation GetPunctuation();

    // Removes, in place, every character that is neither a space nor has a code (in either table
    // with `eitherTable`; and every digit when `rejectDigits`), telling `notifier` once per removed
    // character in text order. Returns the index of the last removal, or -1 when nothing was
    // removed.
    static int RemoveInvalidCharacters(std::string& text, bool rejectDigits, CNotifier& notifier,
                                       bool eitherTable = false);
};
