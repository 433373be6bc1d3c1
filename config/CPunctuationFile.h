#pragma once

#include <string>
#include <string_view>

#include "core/CMorseTable.h"

// The punctuation table chosen, kept in a file of its own in the program folder ("interpunkce"):
//   tabulka=mezinarodni      the international punctuation (ITU-R M.1677)
//   tabulka=programova       the program's own table, also for a missing, unknown or damaged file
// Read as hostile input: any bytes, any length. Writing replaces the file atomically. Any thread,
// one caller at a time.
class CPunctuationFile {
public:
    static constexpr const char* kFileName = "interpunkce";

    explicit CPunctuationFile(std::string path);

    Punctuation Read() const;
    bool Write(Punctuation table) const;

    static Punctuation Parse(std::string_view bytes);
    static std::string Format(Punctuation table);

private:
    std::string path;
};
