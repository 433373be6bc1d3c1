#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"
#include "training/CRecognitionFile.h"

namespace {

RecognitionRecord Example() {
    RecognitionRecord record;
    record.year = 2026;
    record.month = 12;
    record.day = 8;
    record.hour = 14;
    record.minute = 3;
    record.second = 5;
    record.set = RecognitionSet::Lesson;
    record.lesson = 5;
    record.signSpeed = 120;
    record.textSpeed = 100;
    record.limitMilliseconds = 1000;
    // Signs that look like the file's own separators must survive too.
    record.characters = {{'K', 12, 1, 420}, {'=', 3, 0, 650},    {'/', 2, 2, std::nullopt},
                         {'0', 4, 0, 0},    {'M', 5, 0, 300, 3}, {'R', 2, 0, std::nullopt, 2}};
    return record;
}

// Appended runs read back whole and in order, and the file reads as its documented form.
TEST(RecognitionFile, AppendedRunsReadBackWhole) {
    CTemporaryFolder folder;
    const CRecognitionFile file(folder.File("rozpoznani"));
    EXPECT_TRUE(file.Read().empty());
    const RecognitionRecord first = Example();
    RecognitionRecord second = Example();
    second.set = RecognitionSet::All;
    second.lesson = 0;
    second.characters = {};
    second.limitMilliseconds = 750;
    ASSERT_TRUE(file.Append(first));
    ASSERT_TRUE(file.Append(second));
    const auto records = file.Read();
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0], first);
    EXPECT_EQ(records[1], second);
    EXPECT_EQ(ReadWholeFile(folder.File("rozpoznani")),
              "2026-12-08 14:03:05 sada=lekce lekce=5 znacka=120 text=100 limit=1000 znaky "
              "K=12/1/420 ==3/0/650 /=2/2/- 0=4/0/0 M=5/0/300/3 R=2/0/-/2\n"
              "2026-12-08 14:03:05 sada=vse znacka=120 text=100 limit=750 znaky\n");
}

// A run in a file that cannot be replaced leaves the file as it was.
TEST(RecognitionFile, AppendToAReadOnlyFileFails) {
    CTemporaryFolder folder;
    const std::string path = folder.File("rozpoznani");
    const CRecognitionFile file(path);
    ASSERT_TRUE(file.Append(Example()));
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(file.Append(Example()));
    EXPECT_EQ(file.Read().size(), 1U);
}

struct LineCase {
    const char* name;
    const char* line;
    bool readable;
};

class RecognitionLines : public testing::TestWithParam<LineCase> {};

// Each line between two good ones: a damaged one is skipped alone, the good ones are kept.
TEST_P(RecognitionLines, DamagedLinesAreSkippedAlone) {
    const std::string good = CRecognitionFile::Format(Example());
    const std::string bytes = good + GetParam().line + "\r\n" + good;
    const auto records = CRecognitionFile::Parse(bytes);
    ASSERT_EQ(records.size(), GetParam().readable ? 3U : 2U);
    EXPECT_EQ(records.front(), Example());
    EXPECT_EQ(records.back(), Example());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RecognitionLines,
    testing::Values(
        LineCase{"Good", "2026-01-02 03:04:05 sada=pismena znacka=60 text=60 limit=1 znaky A=1/0/5",
                 true},
        LineCase{"UnknownFieldsSkipped",
                 "2026-01-02 03:04:05 novy=x sada=cislice dalsi=1 znaky 1=2/1/300", true},
        LineCase{"NoCharacters", "2026-01-02 03:04:05 sada=vse znaky", true},
        LineCase{"Empty", "", false},
        LineCase{"NoSet", "2026-01-02 03:04:05 znacka=60 znaky A=1/0/5", false},
        LineCase{"UnknownSet", "2026-01-02 03:04:05 sada=slova znaky A=1/0/5", false},
        LineCase{"NoCharactersMark", "2026-01-02 03:04:05 sada=vse A=1/0/5", false},
        LineCase{"BadDate", "2026-13-02 03:04:05 sada=vse znaky", false},
        LineCase{"BadTime", "2026-01-02 3:04:05 sada=vse znaky", false},
        LineCase{"DoubleSpace", "2026-01-02 03:04:05  sada=vse znaky", false},
        LineCase{"SpeedOutOfRange", "2026-01-02 03:04:05 sada=vse znacka=0 znaky", false},
        LineCase{"LimitNotANumber", "2026-01-02 03:04:05 sada=vse limit=1e3 znaky", false},
        LineCase{"StrayWord", "2026-01-02 03:04:05 sada=vse hello znaky", false},
        LineCase{"MoreErrorsThanAnswers", "2026-01-02 03:04:05 sada=vse znaky A=1/2/-", false},
        LineCase{"MedianWithoutARightAnswer", "2026-01-02 03:04:05 sada=vse znaky A=2/2/300",
                 false},
        LineCase{"NegativeMedian", "2026-01-02 03:04:05 sada=vse znaky A=2/0/-3", false},
        LineCase{"MedianTooLong", "2026-01-02 03:04:05 sada=vse znaky A=2/0/600001", false},
        LineCase{"CharacterTwice", "2026-01-02 03:04:05 sada=vse znaky A=1/0/5 A=1/0/5", false},
        LineCase{"CharacterWithoutCode", "2026-01-02 03:04:05 sada=vse znaky \x9A=1/0/5", false},
        LineCase{"MissingCount", "2026-01-02 03:04:05 sada=vse znaky A=1/5", false},
        LineCase{"HugeCount", "2026-01-02 03:04:05 sada=vse znaky A=99999999999/0/-", false},
        LineCase{"MoreEarlyThanRightAnswers", "2026-01-02 03:04:05 sada=vse znaky A=3/1/-/3",
                 false},
        LineCase{"MedianOfEarlyAnswersOnly", "2026-01-02 03:04:05 sada=vse znaky A=2/0/300/2",
                 false},
        LineCase{"EarlyNotANumber", "2026-01-02 03:04:05 sada=vse znaky A=2/0/300/x", false}),
    CaseName());

// A file an editor saved with a UTF-8 byte order mark keeps its first record.
TEST(RecognitionFile, ByteOrderMarkBeforeTheFirstRecord) {
    const auto records =
        CRecognitionFile::Parse("\xEF\xBB\xBF" + CRecognitionFile::Format(Example()));
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0], Example());
}

// A line far longer than any run writes is no record, and reading it ends.
TEST(RecognitionFile, OverlongLineIsSkipped) {
    std::string line = "2026-01-02 03:04:05 sada=vse znaky";
    while (line.size() < 70000) {
        line += " A=1/0/5";
    }
    EXPECT_TRUE(CRecognitionFile::Parse(line + "\n").empty());
}

// Each character's reaction is the median of its runs' medians over the last runs that timed it.
TEST(RecognitionFile, ReactionMediansFollowTheLastRuns) {
    std::vector<RecognitionRecord> records;
    const int kTimes[] = {900, 800, 700, 400, 300};
    for (const int time : kTimes) {
        RecognitionRecord record = Example();
        record.characters = {{'K', 5, 0, time}, {'M', 3, 3, std::nullopt}};
        if (time < 500) {
            record.characters.push_back({'R', 4, 1, time * 2});
        }
        records.push_back(record);
    }
    const auto all = ReactionMedians(records);
    EXPECT_EQ(all.at('K'), 700);
    EXPECT_EQ(all.at('R'), 700);  // (600 + 800) / 2
    EXPECT_EQ(all.count('M'), 0U) << "never answered right";
    const auto recent = ReactionMedians(records, 3);
    EXPECT_EQ(recent.at('K'), 400);
    EXPECT_TRUE(ReactionMedians({}).empty());
}

// The totals add each character's runs up and put the slowest first, then the untimed ones by
// their errors.
TEST(RecognitionFile, TotalsPutTheSlowestFirst) {
    RecognitionRecord first = Example();
    first.characters = {{'K', 5, 1, 400, 2}, {'M', 3, 3, std::nullopt}, {'R', 2, 0, 900}};
    RecognitionRecord second = Example();
    second.characters = {{'K', 4, 0, 600, 1}, {'S', 2, 2, std::nullopt}, {'T', 6, 1, 450}};
    const std::vector<RecognitionTotal> expected = {{'R', 2, 0, 900},
                                                    {'K', 9, 1, 500, 3},
                                                    {'T', 6, 1, 450},
                                                    {'M', 3, 3, std::nullopt},
                                                    {'S', 2, 2, std::nullopt}};
    EXPECT_EQ(RecognitionTotals({first, second}), expected);
    EXPECT_TRUE(RecognitionTotals({}).empty());
}

}  // namespace
