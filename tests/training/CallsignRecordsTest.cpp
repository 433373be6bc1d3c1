#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"
#include "training/CCallsignRecordsFile.h"

namespace {

CallsignRunRecord::Answer Answer(std::string callsign, std::string typed, int speed, int repeats,
                                 int points) {
    const bool right = callsign == typed;
    return {std::move(callsign), std::move(typed), speed, repeats, right, right ? points : 0};
}

// A run with its totals added up from its answers, as the session writes one.
CallsignRunRecord MakeRun(std::vector<CallsignRunRecord::Answer> answers, int startSpeed = 60,
                          int step = 5) {
    CallsignRunRecord run;
    run.year = 2026;
    run.month = 12;
    run.day = 8;
    run.hour = 13;
    run.minute = 30;
    run.second = 5;
    run.startSpeed = startSpeed;
    run.step = step;
    run.answers = std::move(answers);
    for (const auto& answer : run.answers) {
        run.score += answer.points;
        run.highestSpeed = std::max(run.highestSpeed, answer.speed);
    }
    return run;
}

CallsignRunRecord Example() {
    // A portable form, a country prefix and a copy that was left empty: the file's own
    // separators ('=', '/') and an empty value must survive.
    return MakeRun({Answer("OK1ABC", "OK1ABC", 60, 0, 36), Answer("DL2XY/P", "DL2XV/P", 65, 1, 0),
                    Answer("OK/G4ABC", "", 60, 2, 0), Answer("S=5", "S=5", 55, 1, 8)});
}

TEST(CallsignRecords, RoundTripKeepsEveryRunAndAnswer) {
    CTemporaryFolder folder;
    const CCallsignRecordsFile records(folder.File("volaci"));
    EXPECT_TRUE(records.Read().empty());
    CallsignRunRecord second = MakeRun({Answer("OL75CRK", "OL75CRK", 120, 0, 84)}, 120, 10);
    second.day = 9;
    ASSERT_TRUE(records.Append(Example()));
    ASSERT_TRUE(records.Append(second));
    const auto read = records.Read();
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0], Example());
    EXPECT_EQ(read[1], second);
    EXPECT_DOUBLE_EQ(read[0].RightShare(), 0.5);
    EXPECT_DOUBLE_EQ(read[1].RightShare(), 1.0);
}

TEST(CallsignRecords, LinesAreReadableText) {
    EXPECT_EQ(CCallsignRecordsFile::Format(MakeRun(
                  {Answer("OK1ABC", "OK1ABC", 60, 0, 36), Answer("DL2XY/P", "DL2XV/P", 65, 1, 0)})),
              "2026-12-08 13:30:05 zacatek=60 krok=5 body=36 nejvyssi=65 odpovedi=2\n"
              "+ znacka=OK1ABC prijato=OK1ABC rychlost=60 opakovani=0 spravne=1 body=36\n"
              "+ znacka=DL2XY/P prijato=DL2XV/P rychlost=65 opakovani=1 spravne=0 body=0\n");
}

// Runs that cannot be kept as they are: nothing is written, the file stays as it was.
TEST(CallsignRecords, RunsThatDoNotAddUpAreNotWritten) {
    CTemporaryFolder folder;
    const CCallsignRecordsFile records(folder.File("volaci"));
    ASSERT_TRUE(records.Append(Example()));
    const std::string before = ReadWholeFile(folder.File("volaci"));

    std::vector<CallsignRunRecord> refused(7, Example());
    refused[0].answers.clear();
    refused[0].score = 0;
    refused[1].score += 1;
    refused[2].highestSpeed += 5;
    refused[3].answers[0].typed = "ok1abc";  // not as judged
    refused[4].answers[1].right = true;      // a verdict that disagrees with the copy
    refused[5].answers[2].callsign = "OK1 ABC";
    refused[6].month = 13;
    for (std::size_t k = 0; k < refused.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(CCallsignRecordsFile::Format(refused[k]), "");
        EXPECT_FALSE(records.Append(refused[k]));
    }
    EXPECT_EQ(ReadWholeFile(folder.File("volaci")), before);
}

TEST(CallsignRecords, TextIsKeptAsJudged) {
    EXPECT_EQ(CCallsignRecordsFile::KeptText(" ok1 abc/p\t"), "OK1ABC/P");
    EXPECT_EQ(CCallsignRecordsFile::KeptText("d\xc3\xa9l\x7f\r\n"), "D??L?");
    EXPECT_EQ(CCallsignRecordsFile::KeptText(std::string(100, 'x')).size(),
              CCallsignRecordsFile::kLongestText);
}

struct DamageCase {
    std::string name;
    std::string bytes;
    // The callsign of the first answer of each run read.
    std::vector<std::string> runs;
};

class DamagedRecords : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedRecords, DamagedRunsAreSkippedAndTheRestKept) {
    const auto runs = CCallsignRecordsFile::Parse(GetParam().bytes);
    std::vector<std::string> firsts;
    for (const auto& run : runs) {
        ASSERT_FALSE(run.answers.empty());
        firsts.push_back(run.answers[0].callsign);
        // Whatever is read writes back as itself.
        const auto again = CCallsignRecordsFile::Parse(CCallsignRecordsFile::Format(run));
        ASSERT_EQ(again.size(), 1U);
        EXPECT_EQ(again[0], run);
    }
    EXPECT_EQ(firsts, GetParam().runs);
}

const std::string kHead = "2026-12-08 13:30:05 zacatek=60 krok=5 body=36 nejvyssi=65 odpovedi=2\n";
const std::string kFirst =
    "+ znacka=OK1ABC prijato=OK1ABC rychlost=60 opakovani=0 spravne=1 body=36\n";
const std::string kSecond =
    "+ znacka=DL2XY/P prijato=DL2XV/P rychlost=65 opakovani=1 spravne=0 body=0\n";
const std::string kGood = kHead + kFirst + kSecond;
const std::string kOther =
    "2026-12-09 08:00:00 zacatek=100 krok=10 body=70 nejvyssi=100 odpovedi=1\n"
    "+ znacka=OL75CRK prijato=OL75CRK rychlost=100 opakovani=0 spravne=1 body=70\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    CallsignRecords, DamagedRecords,
    testing::Values(
        DamageCase{"Good", kGood + kOther, {"OK1ABC", "OL75CRK"}},
        DamageCase{"CrLf", Replaced(kGood, "\n", "\r\n") + kOther, {"OK1ABC", "OL75CRK"}},
        DamageCase{
            "NoFinalLineFeed", kGood + kOther.substr(0, kOther.size() - 1), {"OK1ABC", "OL75CRK"}},
        DamageCase{"UnknownFieldsSkipped",
                   Replaced(Replaced(kGood, " odpovedi=2", " odpovedi=2 pozdeji=7"), " body=0",
                            " body=0 dalsi=x"),
                   {"OK1ABC"}},
        DamageCase{"FieldsInAnyOrder",
                   Replaced(kGood, "zacatek=60 krok=5", "krok=5 zacatek=60") + kOther,
                   {"OK1ABC", "OL75CRK"}},
        DamageCase{"AnswerLineMissing", kHead + kFirst + kOther, {"OL75CRK"}},
        DamageCase{"AnswerLineTooMany",
                   kHead + kFirst + kSecond + kSecond + kOther,
                   {"OK1ABC", "OL75CRK"}},
        DamageCase{"AnswersWithoutHead", kFirst + kSecond + kOther, {"OL75CRK"}},
        DamageCase{"ScoreNotTheirPoints",
                   Replaced(kGood, "body=36 nej", "body=37 nej") + kOther,
                   {"OL75CRK"}},
        DamageCase{"HighestNotTheirs",
                   Replaced(kGood, "nejvyssi=65", "nejvyssi=70") + kOther,
                   {"OL75CRK"}},
        DamageCase{"RightButDifferent",
                   Replaced(kGood, "rychlost=65 opakovani=1 spravne=0",
                            "rychlost=65 opakovani=1 spravne=1") +
                       kOther,
                   {"OL75CRK"}},
        DamageCase{"PointsForWrong",
                   Replaced(Replaced(kGood, "spravne=0 body=0", "spravne=0 body=5"), "body=36 nej",
                            "body=41 nej"),
                   {}},
        DamageCase{"LowerCaseCopy",
                   Replaced(kGood, "prijato=DL2XV/P", "prijato=dl2xv/p") + kOther,
                   {"OL75CRK"}},
        DamageCase{
            "EmptyCallsign", Replaced(kGood, "znacka=OK1ABC", "znacka=") + kOther, {"OL75CRK"}},
        DamageCase{"FieldTwice", Replaced(kGood, "krok=5", "krok=5 krok=5") + kOther, {"OL75CRK"}},
        DamageCase{"FieldMissing", Replaced(kGood, " opakovani=1", "") + kOther, {"OL75CRK"}},
        DamageCase{"DoubleSpace", Replaced(kGood, "krok=5 ", "krok=5  ") + kOther, {"OL75CRK"}},
        DamageCase{
            "SpeedOutOfRange", Replaced(kGood, "rychlost=60", "rychlost=0") + kOther, {"OL75CRK"}},
        DamageCase{"HugeNumber",
                   Replaced(kGood, "opakovani=0", "opakovani=99999999999999999999") + kOther,
                   {"OL75CRK"}},
        DamageCase{"NoAnswers", Replaced(kGood, "odpovedi=2", "odpovedi=0") + kOther, {"OL75CRK"}},
        DamageCase{"BadDate", Replaced(kGood, "2026-12-08", "2026-13-08") + kOther, {"OL75CRK"}},
        DamageCase{"LongLine",
                   kGood + "+ znacka=" + std::string(8000, 'A') + "\n" + kOther,
                   {"OK1ABC", "OL75CRK"}},
        DamageCase{"NulInside",
                   Replaced(kGood, "OK1ABC prijato", std::string("OK1\0BC prijato", 14)) + kOther,
                   {"OL75CRK"}}),
    CaseName());

TEST(CallsignRecords, AnyBytesReadWithoutFault) {
    std::mt19937 random(25);
    const std::string good = CCallsignRecordsFile::Format(Example());
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k) {
            bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
        }
        for (const CallsignRunRecord& run : CCallsignRecordsFile::Parse(bytes)) {
            const auto again = CCallsignRecordsFile::Parse(CCallsignRecordsFile::Format(run));
            ASSERT_EQ(again.size(), 1U);
            EXPECT_EQ(again[0], run);
            EXPECT_GE(run.RightShare(), 0.0);
            EXPECT_LE(run.RightShare(), 1.0);
        }
    }
}

TEST(CallsignRecords, FailedAppendKeepsTheFile) {
    CTemporaryFolder folder;
    const std::string path = folder.File("volaci");
    const CCallsignRecordsFile records(path);
    ASSERT_TRUE(records.Append(Example()));
    chmod(path.c_str(), 0444);
    EXPECT_FALSE(records.Append(Example()));
    EXPECT_EQ(records.Read().size(), 1U);
    chmod(path.c_str(), 0644);
    EXPECT_FALSE(CCallsignRecordsFile(folder.File("missing/folder/volaci")).Append(Example()));
}

}  // namespace
