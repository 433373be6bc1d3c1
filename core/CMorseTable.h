#pragma once

#include <string>
#include <string_view>

class CNotifier;

// Stateless lookup of the Morse code of a single-byte (Windows-1250) character, and the validator
// used on edit controls. Safe to use from any thread.
class CMorseTable {
public:
    virtual ~CMorseTable();

    // The code of `character` as dots and dashes, or an empty view when it has none. ASCII a-z are
    // looked up as A-Z. With `abbreviateZero`, '0' is a single dash.
    static std::string_view CodeOf(char character, bool abbreviateZero);
    static bool HasCode(char character);

    // Removes, in place, every character that is neither a space nor has a code (and every digit
    // when `rejectDigits`), telling `notifier` once per removed character in text order. Returns
    // the index of the last removal, or -1 when nothing was removed.
    static int RemoveInvalidCharacters(std::string& text, bool rejectDigits, CNotifier& notifier);
};
