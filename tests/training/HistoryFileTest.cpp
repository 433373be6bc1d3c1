#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>

#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"
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
              "spravne=1 chyby=1 znaky E=1/0 H=1/1 zameny HS=1\n"
              "+ spatne=1 vynechano=0 navic=0 prehozeno=0\n");
    record.TakeResults(CCopyCheck("PARIS 73 TEST", "PARIS 37 TSTX"));
    EXPECT_EQ(CHistoryFile::FormatFurtherLine(record),
              "+ spatne=0 vynechano=1 navic=1 prehozeno=1\n");
}

// A history as the program wrote it before it kept the breakdown of the errors (one line per
// check) reads as it always did, the breakdown derived from the counts and the confusions.
TEST(HistoryFile, OldRecordsReadUnchanged) {
    const std::string old =
        "2025-03-01 09:15:00 druh=0 lekce=0 znacka=100 text=80 pomer=3.0 odeslano=14 spravne=12 "
        "chyby=3 znaky A=1/0 B=1/0 C=1/1 D=1/0 E=2/0 F=1/0 G=1/0 H=3/1 I=1/0 J=1/0 zameny HS=1\n"
        "2025-03-02 10:00:00 druh=5 lekce=4 znacka=60 text=60 pomer=3.5 odeslano=4 spravne=4 "
        "chyby=2 znaky S=4/0 zameny\n";
    const std::vector<CheckRecord> records = CHistoryFile::Parse(old);
    ASSERT_EQ(records.size(), 2U);
    const CheckRecord& first = records[0];
    EXPECT_EQ(first.year, 2025);
    EXPECT_EQ(first.textSpeed, 80);
    EXPECT_EQ(first.sent, 14);
    EXPECT_EQ(first.correct, 12);
    EXPECT_EQ(first.errors, 3);
    EXPECT_EQ(first.characters.at('H').sent, 3);
    EXPECT_EQ(first.characters.at('H').wrong, 1);
    ASSERT_EQ(first.confusions.size(), 1U);
    // H copied as S, C missed, one extra character.
    EXPECT_EQ(first.wrong, 1);
    EXPECT_EQ(first.missed, 1);
    EXPECT_EQ(first.extra, 1);
    EXPECT_EQ(first.transpositions, 0);
    EXPECT_NEAR(first.Score(), 100.0 * 12 / 15, 1e-9);
    // Four sent, six copied: the two extra ones lower the score.
    EXPECT_EQ(records[1].lesson, 4);
    EXPECT_EQ(records[1].extra, 2);
    EXPECT_NEAR(records[1].Score(), 100.0 * 4 / 6, 1e-9);
    // Each old record written anew reads as the same record.
    for (const CheckRecord& record : records) {
        const auto again = CHistoryFile::Parse(CHistoryFile::Format(record));
        ASSERT_EQ(again.size(), 1U);
        EXPECT_EQ(again[0], record);
    }
}

// A reader that knows only record lines (the record-line parser, which is the one the program had
// before) finds every record of a new file with every field it knew, and the further lines
// are no records to it.
TEST(HistoryFile, NewFileReadsWithEveryOldFieldByRecordLinesAlone) {
    CheckRecord record = Example();
    record.TakeResults(CCopyCheck("PARIS 73 TEST", "PARIS 37 TSTX"));
    const std::string bytes = CHistoryFile::Format(Example()) + CHistoryFile::Format(record);
    std::vector<CheckRecord> byRecordLines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        const auto read =
            CHistoryFile::ParseLine(std::string_view(bytes).substr(start, end - start));
        if (read) {
            byRecordLines.push_back(*read);
        } else {
            EXPECT_EQ(bytes.substr(start, 2), "+ ");
        }
        start = end + 1;
    }
    const std::vector<CheckRecord> full = CHistoryFile::Parse(bytes);
    ASSERT_EQ(byRecordLines.size(), 2U);
    ASSERT_EQ(full.size(), 2U);
    for (std::size_t k = 0; k < 2; ++k) {
        CheckRecord oldFields = full[k];
        oldFields.wrong = byRecordLines[k].wrong;
        oldFields.missed = byRecordLines[k].missed;
        oldFields.extra = byRecordLines[k].extra;
        oldFields.transpositions = byRecordLines[k].transpositions;
        EXPECT_EQ(byRecordLines[k], oldFields);
    }
    // The swap is kept by the full reader only: the record line alone cannot tell it.
    EXPECT_EQ(full[1].transpositions, 1);
    EXPECT_EQ(full[1].missed, 1);
    EXPECT_EQ(full[1].extra, 1);
    EXPECT_EQ(byRecordLines[1].transpositions, 0);
}

struct FurtherLineCase {
    const char* name;
    const char* further;
    bool taken;
};

class FurtherLine : public testing::TestWithParam<FurtherLineCase> {};

// The further line of "PARIS 73 TEST" copied as "PARIS 37 TSTX": fields it does not know are
// skipped; a damaged one, or one that does not add up, leaves the derived breakdown.
TEST_P(FurtherLine, TakenOrLeft) {
    CheckRecord record = Example();
    record.TakeResults(CCopyCheck("PARIS 73 TEST", "PARIS 37 TSTX"));
    const std::string bytes = CHistoryFile::FormatRecordLine(record) + GetParam().further + "\n";
    const auto read = CHistoryFile::Parse(bytes);
    ASSERT_EQ(read.size(), 1U);
    EXPECT_EQ(read[0] == record, GetParam().taken);
    EXPECT_EQ(read[0].transpositions, GetParam().taken ? 1 : 0);
    EXPECT_EQ(read[0].sent, record.sent);
    EXPECT_EQ(read[0].correct, record.correct);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FurtherLine,
    testing::Values(
        FurtherLineCase{"AsWritten", "+ spatne=0 vynechano=1 navic=1 prehozeno=1", true},
        FurtherLineCase{"LaterFieldsSkipped",
                        "+ podminky=sum:3,fading seed=123 spatne=0 vynechano=1 navic=1 "
                        "prehozeno=1 x=",
                        true},
        FurtherLineCase{"OtherOrder", "+ prehozeno=1 navic=1 vynechano=1 spatne=0", true},
        FurtherLineCase{"Missing", "", false},
        FurtherLineCase{"FieldMissing", "+ spatne=0 vynechano=1 navic=1", false},
        FurtherLineCase{"FieldTwice", "+ spatne=0 vynechano=1 navic=1 prehozeno=1 navic=1", false},
        FurtherLineCase{"Negative", "+ spatne=0 vynechano=1 navic=-1 prehozeno=1", false},
        FurtherLineCase{"DoesNotAddUp", "+ spatne=0 vynechano=3 navic=1 prehozeno=1", false},
        FurtherLineCase{"NoKey", "+ =3 spatne=0 vynechano=1 navic=1 prehozeno=1", false},
        FurtherLineCase{"DoubleSpace", "+  spatne=0 vynechano=1 navic=1 prehozeno=1", false},
        FurtherLineCase{"OtherMark", "- spatne=0 vynechano=1 navic=1 prehozeno=1", false}),
    CaseName());

// A further line belongs to the record line just before it and to no other.
TEST(HistoryFile, FurtherLineWithoutItsRecordIsSkipped) {
    CheckRecord record = Example();
    record.TakeResults(CCopyCheck("AB", "BA"));
    const std::string further = CHistoryFile::FormatFurtherLine(record);
    const std::string bytes = further + CHistoryFile::FormatRecordLine(record) + "garbage\n" +
                              further + CHistoryFile::Format(record);
    const auto read = CHistoryFile::Parse(bytes);
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0].transpositions, 0);
    EXPECT_EQ(read[1], record);
}

TEST(HistoryFile, DamagedLinesAreSkippedAndTheRestKept) {
    const std::string good = CHistoryFile::FormatRecordLine(Example());
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
            EXPECT_GE(record.wrong, 0);
            EXPECT_GE(record.missed, 0);
            EXPECT_GE(record.extra, 0);
            EXPECT_GE(record.Score(), 0.0);
            EXPECT_LE(record.Score(), 100.0);
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
