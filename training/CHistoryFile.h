#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "training/CheckRecord.h"

// The history of copy checks: a plain text file in the program folder, one check per line, e.g.
//   2026-12-07 18:30:05 druh=0 lekce=0 znacka=100 text=80 pomer=3.0 odeslano=250 spravne=238
//   chyby=12 znaky A=10/1 B=8/0 ... zameny HS=3 EI=1
// (one line), where "A=10/1" says A was sent 10 times and copied wrong once and "HS=3" that an H
// was copied as S three times. The file is read as hostile input: a damaged line is skipped and
// the rest kept. Appending replaces the file atomically. Any thread, one caller at a time.
class CHistoryFile {
public:
    explicit CHistoryFile(std::string path);

    // Every readable record in the file's order; none when the file is missing.
    std::vector<CheckRecord> Read() const;
    // Adds a record at the end; false (the file as it was) when it cannot be written.
    bool Append(const CheckRecord& record) const;

    // One record as its line, with the line feed.
    static std::string Format(const CheckRecord& record);
    // The record of one line (without its line end), or nothing when the line is damaged.
    static std::optional<CheckRecord> ParseLine(std::string_view line);
    static std::vector<CheckRecord> Parse(std::string_view bytes);

private:
    std::string path;
};
