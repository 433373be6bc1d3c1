#pragma once

#include <string>
#include <string_view>

class CNotifier;

// What an edit shows after the user typed into it, and where its caret stands. Windows-1250.
struct TypedText {
    std::string text;
    int caret = 0;
};

// What the user typed as the program sends it: letters as capitals, every character that is
// neither a space nor has a code removed (digits too when `rejectDigits`), each removal told to
// `notifier`; line breaks ("\n") stay when `keepLines`; a mark of either punctuation table stays
// with `eitherTable` (a course order). The caret stands where the last character was removed, or
// where it was.
TypedText CleanTyped(std::string_view typed, int caret, CNotifier& notifier,
                     bool rejectDigits = false, bool keepLines = false, bool eitherTable = false);
