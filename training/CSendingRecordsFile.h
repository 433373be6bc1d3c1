#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "training/SendingRecord.h"

// The records of sending practice: a plain text file of their own in the program folder
// ("vysilani"), one session a line, e.g.
//   2026-12-10 13:30:05 cviceni=ozvena klic=a znaky=120 spravne=18 posouzeno=20 rychlost=85
//   nejvyssi=90 pomer=3.05 tecka=40/1.00/0.12 carka=38/3.05/0.25 mezera=70/1.02/0.20
//   znak=30/3.10/0.40 slovo=6/6.50/1.10 reakce=640
// (one line in the file): the practice (volne, ozvena, opis), the keyer (rucni, a, b), and each
// kind of interval as count/mean/spread. Lengths are written with two decimals and a decimal
// point whatever the language, so that a record read back writes the same line.
// The file is read as hostile input: a line that is damaged, out of range or does not add up
// (more right than judged, a score for free keying, a mean for a kind never sent) is skipped and
// the rest kept. Fields this program does not know are skipped (room for later ones). Appending
// adds the line whole or not at all. Any thread, one caller at a time.
class CSendingRecordsFile {
public:
    // The highest speed, the most characters or intervals of one session, the longest interval
    // or spread in dots (a word gap takes in the learner's pauses) and the slowest reaction.
    static constexpr int kHighestSpeed = 999;
    static constexpr int kMostCounts = 1000000;
    static constexpr int kMostDots = 1000;
    static constexpr int kSlowestReaction = 60000;

    explicit CSendingRecordsFile(std::string path);

    // Every readable session in the file's order; none when the file is missing.
    std::vector<SendingRecord> Read() const;
    // Adds a session at the end; false (the file as it was) when it cannot be written or the
    // session cannot be kept as it is (a value out of range, figures that do not add up).
    bool Append(const SendingRecord& record) const;

    // The line of one session with its line feed, lengths rounded to two decimals; empty for a
    // session that cannot be kept.
    static std::string Format(const SendingRecord& record);
    static std::vector<SendingRecord> Parse(std::string_view bytes);

    // The file's path, for a message that names it.
    const std::string& Path() const { return path; }

private:
    std::string path;
};
