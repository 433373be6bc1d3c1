#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "tests/support/CTemporaryFolder.h"
#include "training/CHistoryFile.h"

namespace {

CheckRecord Example() {
    CheckRecord record;
    record.year = 2026;
    record.month = 12;
    record.day = 7;
    record.hour = 18;
    record.minute = 30;
    record.second = 5;
    record.kind = 3;
    record.lesson = 0;
    record.signSpeed = 120;
    record.textSpeed = 60;
    record.ratioTenths = 37;
    // Characters that look like the file's own separators must survive too.
    record.TakeResults(CCopyCheck("HH=/ Z: ABC", "SH=/ Z; AC"));
    return record;
}

TEST(HistoryFile, RoundTripKeepsEveryField) {
    CTemporaryFolder folder;
    const CHistoryFile history(folder.File("historie"));
    EXPECT_TRUE(history.Read().empty());
    const CheckRecord first = Example();
    CheckRecord second = Example();
    second.lesson = 12;
    second.kind = 5;
    second.TakeResults(CCopyCheck("", ""));
    ASSERT_TRUE(history.Append(first));
    ASSERT_TRUE(history.Append(second));
    const std::vector<CheckRecord> read = history.Read();
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0], first);
    EXPECT_EQ(read[1], second);
    EXPECT_EQ(read[0].characters.at('=').sent, 1);
    EXPECT_EQ(read[0].characters.at(':').wrong, 1);
    EXPECT_EQ(read[0].confusions.size(), 2U);
}

TEST(HistoryFile, LineIsReadableText) {
    CheckRecord record = Example();
    record.TakeResults(CCopyCheck("HE", "SE"));
    EXPECT_EQ(CHistoryFile::Format(record),
              "2026-12-07 18:30:05 druh=3 lekce=0 znacka=120 text=60 pomer=3.7 odeslano=2 "
              "spravne=1 chyby=1 znaky E=1/0 H=1/1 zameny HS=1\n");
}

TEST(HistoryFile, DamagedLinesAreSkippedAndTheRestKept) {
    const std::string good = CHistoryFile::Format(Example());
    const std::string line = good.substr(0, good.size() - 1);
    const std::string damaged[] = {
        "",
        "garbage",
        line.substr(0, 40),
        "2026-13-07" + line.substr(10),            // month 13
        line + " ",                                // trailing space
        "2026-12-07  18:30:05" + line.substr(19),  // double space
        std::string(line).replace(line.find("odeslano="), 10, "odeslano=-"),
        std::string(line).replace(line.find("spravne="), 9, "spravne=99999"),
        std::string(line).replace(line.find(" zameny"), 7, ""),  // no confusion list
        line + " HS",                                            // a pair without a count
        line + " " + line.substr(line.find("zameny") + 7, 5),    // a pair twice
        std::string(70000, 'A'),
    };
    std::string bytes = good;
    for (const std::string& bad : damaged) {
        bytes += bad + "\n";
        EXPECT_FALSE(CHistoryFile::ParseLine(bad).has_value()) << bad.substr(0, 120);
    }
    bytes += good.substr(0, good.size() - 1) + "\r\n";  // a CR LF line still reads
    const std::vector<CheckRecord> records = CHistoryFile::Parse(bytes);
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0], Example());
    EXPECT_EQ(records[1], Example());
}

TEST(HistoryFile, AnyBytesReadWithoutFault) {
    std::mt19937 random(11);
    const std::string good = CHistoryFile::Format(Example());
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        for (const CheckRecord& record : CHistoryFile::Parse(bytes)) {
            EXPECT_LE(record.correct, record.sent);
            EXPECT_GE(record.month, 1);
            EXPECT_LE(record.month, 12);
        }
    }
}

TEST(HistoryFile, FailedAppendKeepsTheFile) {
    CTemporaryFolder folder;
    const std::string path = folder.File("historie");
    const CHistoryFile history(path);
    ASSERT_TRUE(history.Append(Example()));
    chmod(path.c_str(), 0444);
    EXPECT_FALSE(history.Append(Example()));
    EXPECT_EQ(history.Read().size(), 1U);
    chmod(path.c_str(), 0644);
    const CHistoryFile nowhere(folder.File("missing/folder/historie"));
    EXPECT_FALSE(nowhere.Append(Example()));
}

}  // namespace
