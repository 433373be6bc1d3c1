#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"
#include "training/CSendingRecordsFile.h"

namespace {

const std::string kEcho =
    "2026-12-10 13:30:05 cviceni=ozvena klic=a znaky=120 spravne=18 posouzeno=20 rychlost=85 "
    "nejvyssi=90 pomer=3.05 tecka=40/1.00/0.12 carka=38/3.05/0.25 mezera=70/1.02/0.20 "
    "znak=30/3.10/0.40 slovo=6/6.50/1.10 reakce=640\n";
const std::string kFree =
    "2026-12-11 08:00:00 cviceni=volne klic=rucni znaky=3 spravne=0 posouzeno=0 rychlost=60 "
    "nejvyssi=0 pomer=2.80 tecka=5/1.00/0.30 carka=4/2.80/0.51 mezera=6/1.20/0.33 "
    "znak=2/3.40/0.00 slovo=0/0.00/0.00 reakce=0\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// Written, read back, written again: the same lines; a missing file is created by the first.
TEST(SendingRecords, RoundTripKeepsTheLines) {
    CTemporaryFolder folder;
    const CSendingRecordsFile records(folder.File("vysilani"));
    EXPECT_TRUE(records.Read().empty());
    for (const std::string& line : {kEcho, kFree}) {
        const auto parsed = CSendingRecordsFile::Parse(line);
        ASSERT_EQ(parsed.size(), 1U);
        EXPECT_EQ(CSendingRecordsFile::Format(parsed[0]), line);
        ASSERT_TRUE(records.Append(parsed[0]));
    }
    EXPECT_EQ(ReadWholeFile(folder.File("vysilani")), kEcho + kFree);
    const SendingRecord echo = records.Read().at(0);
    EXPECT_EQ(echo.practice, SendingPractice::kEcho);
    EXPECT_EQ(echo.keyer, KeyerMode::kIambicA);
    EXPECT_EQ(echo.kinds[4], (SendingRecord::Kind{6, 6.5, 1.1}));
}

// Lengths are rounded to hundredths as they are written; a session that cannot be kept is not
// written and leaves the file as it was.
TEST(SendingRecords, RoundingAndRefusals) {
    SendingRecord record = CSendingRecordsFile::Parse(kEcho).at(0);
    record.dashRatio = 3.04999;
    record.kinds[0].spread = 0.004;
    EXPECT_EQ(CSendingRecordsFile::Format(record), Replaced(kEcho, "/1.00/0.12", "/1.00/0.00"));

    CTemporaryFolder folder;
    const CSendingRecordsFile records(folder.File("vysilani"));
    std::vector<SendingRecord> refused(2, CSendingRecordsFile::Parse(kEcho).at(0));
    refused[0].kinds[2].spread = -0.5;
    refused[1].practice = SendingPractice::kFree;  // judged without anything to judge
    for (std::size_t k = 0; k < refused.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(CSendingRecordsFile::Format(refused[k]), "");
        EXPECT_FALSE(records.Append(refused[k]));
    }
    EXPECT_FALSE(std::filesystem::exists(folder.File("vysilani")));
}

struct DamageCase {
    std::string name;
    std::string bytes;
    // The day of each session read.
    std::vector<int> days;
};

class DamagedSendingRecords : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedSendingRecords, DamagedLinesAreSkippedAndTheRestKept) {
    std::vector<int> days;
    for (const SendingRecord& record : CSendingRecordsFile::Parse(GetParam().bytes)) {
        days.push_back(record.day);
    }
    EXPECT_EQ(days, GetParam().days);
}

DamageCase Damaged(std::string name, const std::string& from, const std::string& to) {
    return {std::move(name), Replaced(kEcho, from, to) + kFree, {11}};
}

INSTANTIATE_TEST_SUITE_P(
    SendingRecords, DamagedSendingRecords,
    testing::Values(DamageCase{"CrLfAndNoFinalLineFeed",
                               Replaced(kEcho, "\n", "\r\n") + kFree.substr(0, kFree.size() - 1),
                               {10, 11}},
                    DamageCase{
                        "UnknownFieldsSkipped",
                        Replaced(kEcho, " reakce=640", " pozdeji=7 reakce=640 dalsi=a=b") + kFree,
                        {10, 11}},
                    DamageCase{"LongLine", kEcho + std::string(5000, 'x') + "\n" + kFree, {10, 11}},
                    Damaged("RightAboveJudged", "spravne=18", "spravne=21"),
                    Damaged("NegativeCount", "tecka=40/", "tecka=-40/"),
                    Damaged("SignedLength", "/0.12", "/+0.12"),
                    Damaged("CommaDecimal", "pomer=3.05", "pomer=3,05"),
                    Damaged("OneDecimal", "pomer=3.05", "pomer=3.1"),
                    Damaged("AbsurdLength", "slovo=6/6.50", "slovo=6/6000.50"),
                    Damaged("SpeedOutOfRange", "rychlost=85", "rychlost=1000"),
                    Damaged("MeanWithoutCount", "carka=38/", "carka=0/"),
                    Damaged("KindPartMissing", "znak=30/3.10/0.40", "znak=30/3.10"),
                    Damaged("UnknownPractice", "cviceni=ozvena", "cviceni=poslech"),
                    Damaged("UnknownKeyer", "klic=a", "klic=c"),
                    Damaged("FieldTwice", "klic=a", "klic=a klic=a"),
                    Damaged("FieldMissing", " nejvyssi=90", ""),
                    Damaged("NoDayInMonth", "2026-12-10", "2026-02-29"),
                    Damaged("NulInside", "znaky=120",
                            std::string("znaky=1\0"
                                        "0",
                                        9))),
    CaseName());

}  // namespace
