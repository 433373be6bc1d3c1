#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"
#include "training/CHistoryFile.h"
#include "training/CHistoryStatistics.h"

namespace {

CheckRecord Checked(const ReceptionSettings& conditions) {
    CheckRecord record;
    record.year = 2026;
    record.month = 12;
    record.day = 8;
    record.kind = 2;
    record.signSpeed = 150;
    record.textSpeed = 100;
    record.TakeResults(CCopyCheck("PARIS 73 TEST", "PARIS 37 TSTX"));
    record.conditions = conditions.Summary();
    return record;
}

struct ConditionsCase {
    std::string name;
    ReceptionSettings conditions;
    const char* fields;  // what the further line adds
};

ReceptionSettings Noise(int snr, int filter) {
    ReceptionSettings s;
    s.noise = true;
    s.snrDb = snr;
    s.filterHz = filter;
    s.seed = 987654321;
    return s;
}

ReceptionSettings Everything() {
    ReceptionSettings s = Noise(-10, 2400);
    s.fading = true;
    s.fadingDepthPercent = 100;
    s.fadingSpreadCentihertz = 5;
    s.fadingSeconds = 27;
    s.pathDelayMicroseconds = 5000;
    s.agc = ReceptionSettings::Agc::kSlow;
    s.zeroBeat = true;
    s.pileUp = true;
    s.staticCrashes = true;
    s.staticPerMinute = 600;
    s.interference = true;
    s.stations = 5;
    s.chirp = true;
    s.chirpHz = 200;
    s.keyClicks = true;
    s.fist = FistKind::kBug;
    s.fixedSeed = true;
    s.seed = 18446744073709551615ULL;
    return s;
}

ReceptionSettings FistOnly() {
    ReceptionSettings s;
    s.fist = FistKind::kStraightKey;
    s.seed = 0;
    s.snrDb = -3;      // noise is off: not recorded
    s.stations = 4;    // interference is off: not recorded
    s.filterHz = 300;  // nothing heard through the filter: not recorded
    return s;
}

class RecordedConditions : public testing::TestWithParam<ConditionsCase> {};

// Each check keeps what its text was heard under and the seed, in the further line after the
// known fields, and reads them back; the file stays readable text.
TEST_P(RecordedConditions, RoundTripThroughTheFurtherLine) {
    const ConditionsCase& c = GetParam();
    const CheckRecord record = Checked(c.conditions);
    EXPECT_EQ(CHistoryFile::FormatFurtherLine(record),
              std::string("+ spatne=0 vynechano=1 navic=1 prehozeno=1") + c.fields + "\n");
    CTemporaryFolder folder;
    const CHistoryFile history(folder.File("historie"));
    ASSERT_TRUE(history.Append(record));
    ASSERT_TRUE(history.Append(Checked(ReceptionSettings())));
    const std::vector<CheckRecord> read = history.Read();
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0], record);
    EXPECT_EQ(read[1].conditions, ReceptionSettings());
}

// What a reader that does not know the conditions takes from the same line: every field it knew,
// as it would read them from a line without the conditions.
TEST_P(RecordedConditions, EarlierReaderLosesNothingItKnew) {
    const CheckRecord record = Checked(GetParam().conditions);
    CheckRecord clean = record;
    clean.conditions = ReceptionSettings();
    const auto withConditions = CHistoryFile::Parse(CHistoryFile::Format(record));
    const auto without = CHistoryFile::Parse(CHistoryFile::Format(clean));
    ASSERT_EQ(withConditions.size(), 1U);
    ASSERT_EQ(without.size(), 1U);
    CheckRecord known = withConditions[0];
    known.conditions = ReceptionSettings();
    EXPECT_EQ(known, without[0]);
    // The record line itself is the same: a reader of record lines alone sees no difference.
    EXPECT_EQ(CHistoryFile::FormatRecordLine(record), CHistoryFile::FormatRecordLine(clean));
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecordedConditions,
    testing::Values(ConditionsCase{"NoiseOnly", Noise(5, 500),
                                   " semeno=987654321 sum=5 filtr=500 agc=1"},
                    ConditionsCase{"Everything", Everything(),
                                   " semeno=18446744073709551615 sum=-10 filtr=2400 unik=100/27 "
                                   "rozptyl=5 cesta=5000 agc=2 praskani=600 ruseni=5 zazneje=1 "
                                   "pileup=1 chirp=200 kliksy=1 rukopis=3"},
                    ConditionsCase{"FistOnly", FistOnly(), " semeno=0 rukopis=2"},
                    ConditionsCase{"AllOff", ReceptionSettings(), ""}),
    CaseName());

// A record of the versions before the fading's spread and the gain control was heard on one
// path without them; its fades came at the period it keeps.
TEST(RecordedConditionsOfOlderVersions, OnePathWithoutGainControl) {
    const std::string bytes = CHistoryFile::FormatRecordLine(Checked(ReceptionSettings())) +
                              "+ spatne=0 vynechano=1 navic=1 prehozeno=1 semeno=7 sum=5 "
                              "filtr=500 unik=70/8\n";
    const auto read = CHistoryFile::Parse(bytes);
    ASSERT_EQ(read.size(), 1U);
    const ReceptionSettings& heard = read[0].conditions;
    EXPECT_TRUE(heard.fading);
    EXPECT_EQ(heard.fadingSeconds, 8);
    EXPECT_EQ(heard.fadingSpreadCentihertz, ReceptionSettings::SpreadCentihertzFor(8));
    EXPECT_EQ(heard.pathDelayMicroseconds, 0);
    EXPECT_EQ(heard.agc, ReceptionSettings::Agc::kOff);
}

// The parts of a condition that is off are not kept: the record reads back as it is written.
TEST(RecordedConditionsOfOlderVersions, PartsOfAConditionThatIsOffAreNotKept) {
    const std::string bytes = CHistoryFile::FormatRecordLine(Checked(ReceptionSettings())) +
                              "+ spatne=0 vynechano=1 navic=1 prehozeno=1 semeno=7 sum=5 "
                              "filtr=500 rozptyl=30 zazneje=1 pileup=1\n";
    const auto read = CHistoryFile::Parse(bytes);
    ASSERT_EQ(read.size(), 1U);
    const ReceptionSettings& heard = read[0].conditions;
    EXPECT_TRUE(heard.noise);
    EXPECT_FALSE(heard.zeroBeat);
    EXPECT_FALSE(heard.pileUp);
    EXPECT_EQ(heard.fadingSpreadCentihertz, ReceptionSettings().fadingSpreadCentihertz);
    EXPECT_EQ(CHistoryFile::Parse(CHistoryFile::Format(read[0])), read);
}

struct DamagedCase {
    std::string name;
    const char* fields;
};

class DamagedConditions : public testing::TestWithParam<DamagedCase> {};

// A damaged, repeated or out-of-range condition, conditions without their seed, or a seed with
// nothing heard differently leave the check clean; its breakdown is still taken.
TEST_P(DamagedConditions, ReadAsCleanWithTheBreakdownKept) {
    const CheckRecord record = Checked(ReceptionSettings());
    const std::string bytes = CHistoryFile::FormatRecordLine(record) +
                              "+ spatne=0 vynechano=1 navic=1 prehozeno=1" + GetParam().fields +
                              "\n";
    const auto read = CHistoryFile::Parse(bytes);
    ASSERT_EQ(read.size(), 1U);
    EXPECT_EQ(read[0], record);
    EXPECT_EQ(read[0].transpositions, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedConditions,
    testing::Values(DamagedCase{"SnrTooHigh", " semeno=1 sum=31"},
                    DamagedCase{"SnrNotANumber", " semeno=1 sum=x"},
                    DamagedCase{"FadingWithoutPeriod", " semeno=1 unik=70"},
                    DamagedCase{"FadingPeriodZero", " semeno=1 unik=70/0"},
                    DamagedCase{"NoStations", " semeno=1 ruseni=0"},
                    DamagedCase{"TooManyStations", " semeno=1 ruseni=6"},
                    DamagedCase{"NoFist", " semeno=1 rukopis=0"},
                    DamagedCase{"UnknownFist", " semeno=1 rukopis=4"},
                    DamagedCase{"ClicksTwo", " semeno=1 kliksy=2"},
                    DamagedCase{"NegativeSeed", " semeno=-1 sum=3"},
                    DamagedCase{"SeedBeyond64Bits", " semeno=18446744073709551616 sum=3"},
                    DamagedCase{"NoiseTwice", " semeno=1 sum=3 sum=4"},
                    DamagedCase{"WithoutSeed", " sum=3 filtr=500"},
                    DamagedCase{"FilterWithoutSound", " semeno=5 filtr=300 rukopis=1"},
                    // What the history fuzzer found: the seed was kept but never written back.
                    DamagedCase{"SeedAndFilterBesideADamagedKey",
                                " semeno=4242 s0um=-5 filtr=500"}),
    CaseName());

// The score against the SNR: the checks without noise first, then each ratio from the easiest
// to the hardest, every group's characters scored together.
TEST(HistoryStatistics, ScoreAgainstTheSnr) {
    const auto check = [](std::optional<int> snr, const char* sent, const char* copied) {
        CheckRecord record;
        record.TakeResults(CCopyCheck(sent, copied));
        if (snr) {
            record.conditions = Noise(*snr, 500).Summary();
        } else {
            record.conditions.fist = FistKind::kBug;
        }
        return record;
    };
    const std::vector<CheckRecord> records = {
        check(-5, "ABCD", "ABXD"),  check(std::nullopt, "EEEE", "EEEE"), check(10, "TTTT", "TTTT"),
        check(-5, "ABCD", "ABCDE"), check(std::nullopt, "SS", "S"),      check(10, "MMMM", "MMMN")};
    using Score = CHistoryStatistics::SnrScore;
    const std::vector<Score> expected = {
        {std::nullopt, 2, 6, 100.0 * 5 / 6}, {10, 2, 8, 100.0 * 7 / 8}, {-5, 2, 8, 100.0 * 7 / 9}};
    EXPECT_EQ(CHistoryStatistics(records).ScoreBySnr(), expected);
    EXPECT_TRUE(CHistoryStatistics({}).ScoreBySnr().empty());
}

}  // namespace
