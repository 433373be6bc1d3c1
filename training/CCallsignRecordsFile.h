#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "training/CallsignRunRecord.h"

// The records of callsign runs: a plain text file of their own in the program folder
// ("volaci"), one run as a head line followed by one line per answer, e.g.
//   2026-12-08 13:30:05 zacatek=60 krok=5 body=26 nejvyssi=65 odpovedi=2
//   + znacka=OK1ABC prijato=OK1ABC rychlost=60 opakovani=0 spravne=1 body=36
//   + znacka=DL2XY/P prijato=DL2XV/P rychlost=65 opakovani=1 spravne=0 body=0
// The file is read as hostile input: a run whose head or any of whose answer lines is damaged,
// out of range or does not add up (the score is the answers' points, the highest speed their
// highest, an answer is right exactly when the copy is the callsign) is skipped and the rest
// kept. Fields this program does not know are skipped (room for later ones). Appending replaces
// the file atomically. Any thread, one caller at a time.
class CCallsignRecordsFile {
public:
    // The most answers one run keeps, the longest callsign or copy and the highest speed.
    static constexpr int kMostAnswers = 1000;
    static constexpr std::size_t kLongestText = 64;
    static constexpr int kHighestSpeed = 999;

    explicit CCallsignRecordsFile(std::string path);

    // Every readable run in the file's order; none when the file is missing.
    std::vector<CallsignRunRecord> Read() const;
    // Adds a run at the end; false (the file as it was) when it cannot be written or the run
    // cannot be kept as it is (no answers, or a value out of range).
    bool Append(const CallsignRunRecord& run) const;

    // The lines of one run, each with its line feed; empty for a run that cannot be kept.
    static std::string Format(const CallsignRunRecord& run);
    static std::vector<CallsignRunRecord> Parse(std::string_view bytes);
    // The text of an answer as a record keeps it: without spaces and control characters, ASCII
    // letters as capitals, every byte beyond ASCII as "?", at most kLongestText characters.
    static std::string KeptText(std::string_view text);

    // The file's path, for a message that names it.
    const std::string& Path() const { return path; }

private:
    std::string path;
};
