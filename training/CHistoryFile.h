#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "training/CheckRecord.h"

// The history of copy checks: a plain text file in the program folder, one check per line, e.g.
//   2026-12-07 18:30:05 druh=0 lekce=0 znacka=100 text=80 pomer=3.0 odeslano=250 spravne=238
//   chyby=12 znaky A=10/1 B=8/0 ... zameny HS=3 EI=1
// (one line), where "A=10/1" says A was sent 10 times and copied wrong or missed once and "HS=3"
// that an H was copied as S three times. A line of further fields follows each record line:
//   + spatne=3 vynechano=1 navic=2 prehozeno=1
// the wrong, missed and extra characters and the swapped pairs, followed, for a text heard under
// reception conditions, by what it was heard under and the seed it was keyed from:
//   + spatne=3 vynechano=1 navic=2 prehozeno=1 semeno=41 sum=-5 filtr=500 unik=70/8 praskani=30
//     ruseni=2 chirp=60 kliksy=1 rukopis=3
// (one line; only the conditions that were on: noise at its SNR in dB, the receiver filter in Hz,
// fading depth in % / period in s, static crashes a minute, interfering stations, chirp in Hz,
// key clicks, the fist). A line with a damaged condition keeps its breakdown and reads as clean;
// beside a key this reader does not know, the conditions it knows are kept when they are on (a
// seed and a filter alone are not), so a record holds nothing that it does not write back.
// A reader that knows only record lines skips it as a damaged line, so it reads every record as
// before; this reader takes it for the record line just before it, skips fields it does not know
// (room for later ones), and derives the breakdown from the record line when the further line is
// missing or damaged (the records of older files). The file is read as hostile input: a damaged
// line is skipped and the rest kept. Appending replaces the file atomically. Any thread, one caller
// at a time.
class CHistoryFile {
public:
    explicit CHistoryFile(std::string path);

    // Every readable record in the file's order; none when the file is missing.
    std::vector<CheckRecord> Read() const;
    // Adds a record at the end; false (the file as it was) when it cannot be written.
    bool Append(const CheckRecord& record) const;

    // Begins the line of further fields.
    static constexpr std::string_view kFurtherMark = "+";

    // One record as its lines (the record line and the further line), each with its line feed.
    static std::string Format(const CheckRecord& record);
    static std::string FormatRecordLine(const CheckRecord& record);
    static std::string FormatFurtherLine(const CheckRecord& record);
    // The record of one record line (without its line end), its breakdown derived, or nothing
    // when the line is damaged.
    static std::optional<CheckRecord> ParseLine(std::string_view line);
    // Takes the breakdown of a further line into `record`; false (the record unchanged) when the
    // line is no further line, is damaged or does not add up to the record's counts.
    static bool ParseFurtherLine(std::string_view line, CheckRecord& record);
    static std::vector<CheckRecord> Parse(std::string_view bytes);

    // The file's path, for a message that names it.
    const std::string& Path() const { return path; }

private:
    std::string path;
};
