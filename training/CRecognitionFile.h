#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "training/RecognitionRecord.h"

// The records of instant recognition: a plain text file in the program folder ("rozpoznani"),
// one run per line, e.g.
//   2026-12-08 14:03:05 sada=lekce lekce=5 znacka=120 text=100 limit=1000 znaky K=12/1/420
//     M=10/0/380 R=2/2/-
// (one line), where "K=12/1/420" says K was answered 12 times, once wrongly, with a median
// reaction of 420 ms over its right answers ("-" when it had none); "K=12/1/420/3" adds that 3 of
// the right answers came before the character had ended, untimed (written only when there were).
// "sada" is "lekce", "pismena", "cislice" or "vse"; "lekce" comes only with a lesson. A reader
// skips fields before "znaky" it does not know (room for later ones). The file is read as hostile
// input: a damaged line is skipped and the rest kept. Appending replaces the file atomically. Any
// thread, one caller at a time.
class CRecognitionFile {
public:
    explicit CRecognitionFile(std::string path);

    // Every readable record in the file's order; none when the file is missing.
    std::vector<RecognitionRecord> Read() const;
    // Adds a record at the end; false (the file as it was) when it cannot be written.
    bool Append(const RecognitionRecord& record) const;

    // One record as its line, with its line feed.
    static std::string Format(const RecognitionRecord& record);
    // The record of one line (without its line end), or nothing when the line is damaged.
    static std::optional<RecognitionRecord> ParseLine(std::string_view line);
    static std::vector<RecognitionRecord> Parse(std::string_view bytes);

    // The file's path, for a message that names it.
    const std::string& Path() const { return path; }

private:
    std::string path;
};
