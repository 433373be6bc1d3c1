#include <gtest/gtest.h>

#include <string>

#include "config/CConditionsFile.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"

namespace {

ReceptionSettings AllOnAtTheEdges() {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = ReceptionSettings::kLowestSnrDb;
    settings.filterHz = 2400;
    settings.fading = true;
    settings.fadingDepthPercent = 100;
    settings.fadingSpreadCentihertz = ReceptionSettings::kMostSpreadCentihertz;
    settings.fadingSeconds = ReceptionSettings::kShortestFadingSeconds;
    settings.pathDelayMicroseconds = ReceptionSettings::kLongestPathDelayMicroseconds;
    settings.agc = ReceptionSettings::Agc::kSlow;
    settings.zeroBeat = true;
    settings.pileUp = true;
    settings.staticCrashes = true;
    settings.staticPerMinute = ReceptionSettings::kHighestStaticRate;
    settings.interference = true;
    settings.stations = ReceptionSettings::kMostStations;
    settings.chirp = true;
    settings.chirpHz = ReceptionSettings::kHighestChirpHz;
    settings.keyClicks = true;
    settings.fist = FistKind::kBug;
    settings.fixedSeed = true;
    settings.seed = 18446744073709551615ULL;
    return settings;
}

struct RoundTripCase {
    std::string name;
    ReceptionSettings settings;
};

class ConditionsRoundTrip : public testing::TestWithParam<RoundTripCase> {};

// What is written reads back the same, through a real file in a folder of its own.
TEST_P(ConditionsRoundTrip, WrittenReadsBackTheSame) {
    const CTemporaryFolder folder;
    const CConditionsFile file(folder.File(CConditionsFile::kFileName));
    ASSERT_TRUE(file.Write(GetParam().settings));
    EXPECT_EQ(file.Read(), GetParam().settings);
    EXPECT_EQ(CConditionsFile::Parse(CConditionsFile::Format(GetParam().settings)),
              GetParam().settings);
}

ReceptionSettings LowEdges() {
    ReceptionSettings settings;
    settings.snrDb = ReceptionSettings::kHighestSnrDb;
    settings.filterHz = ReceptionSettings::kNarrowestFilterHz;
    settings.fadingDepthPercent = 0;
    settings.fadingSpreadCentihertz = ReceptionSettings::kLeastSpreadCentihertz;
    settings.fadingSeconds = ReceptionSettings::kLongestFadingSeconds;
    settings.pathDelayMicroseconds = 0;
    settings.agc = ReceptionSettings::Agc::kOff;
    settings.staticPerMinute = ReceptionSettings::kLowestStaticRate;
    settings.stations = 0;
    settings.chirpHz = 0;
    settings.fist = FistKind::kGoodHand;
    settings.seed = 0;
    return settings;
}

INSTANTIATE_TEST_SUITE_P(Settings, ConditionsRoundTrip,
                         testing::Values(RoundTripCase{"Defaults", ReceptionSettings{}},
                                         RoundTripCase{"AllOnAtTheEdges", AllOnAtTheEdges()},
                                         RoundTripCase{"LowEdges", LowEdges()}),
                         CaseName());

TEST(ConditionsFile, DefaultsAreOffAndTheFileReadsAsWritten) {
    EXPECT_FALSE(ReceptionSettings{}.ChangesSound());
    EXPECT_EQ(ReceptionSettings{}.fist, FistKind::kNone);
    const CTemporaryFolder folder;
    EXPECT_EQ(CConditionsFile(folder.File("missing")).Read(), ReceptionSettings{});
    EXPECT_EQ(CConditionsFile::Format(ReceptionSettings{}),
              "sum=0\nsnr=10\nfiltr=500\nunik=0\nhloubka=100\nperioda=3\nrozptyl=50\n"
              "cesta=1000\nagc=1\npraskani=0\nzaminutu=30\nruseni=0\nstanice=2\nzazneje=0\n"
              "pileup=0\nchirp=0\nchirphz=60\nkliksy=0\nrukopis=0\npevnesemeno=0\nsemeno=1\n");
}

struct HostileCase {
    std::string name;
    std::string bytes;
    // The setting each case is about, as read: the default when the line is refused.
    std::string expected;
};

std::string Describe(const ReceptionSettings& settings) {
    return CConditionsFile::Format(settings);
}

ReceptionSettings With(void (*change)(ReceptionSettings&)) {
    ReceptionSettings settings;
    change(settings);
    return settings;
}

class ConditionsHostile : public testing::TestWithParam<HostileCase> {};

// A damaged, out-of-range or foreign line keeps that setting's default; the good lines around it
// are read.
TEST_P(ConditionsHostile, BadLinesKeepDefaults) {
    EXPECT_EQ(Describe(CConditionsFile::Parse(GetParam().bytes)), GetParam().expected);
}

const std::string kDefaults = Describe(ReceptionSettings{});

INSTANTIATE_TEST_SUITE_P(
    Lines, ConditionsHostile,
    testing::Values(
        HostileCase{"Empty", "", kDefaults}, HostileCase{"SnrAboveRange", "snr=31\n", kDefaults},
        HostileCase{"SnrBelowRange", "snr=-11\n", kDefaults},
        HostileCase{"SnrLowestAccepted", "snr=-10\n",
                    Describe(With([](ReceptionSettings& s) { s.snrDb = -10; }))},
        HostileCase{"TrailingGarbage", "snr=12x\nfiltr=250 \n", kDefaults},
        HostileCase{"LeadingBlank", " snr=12\nfiltr= 250\n", kDefaults},
        HostileCase{"EmptyValue", "snr=\nsum=\n", kDefaults},
        HostileCase{"FlagNotZeroOrOne", "sum=2\nunik=-1\nkliksy=yes\n", kDefaults},
        HostileCase{"NumberOverflow", "stanice=99999999999999999999\n", kDefaults},
        HostileCase{"SeedBeyond64Bits", "semeno=18446744073709551616\n", kDefaults},
        HostileCase{"NegativeSeed", "semeno=-1\n", kDefaults},
        HostileCase{"FistUnknown", "rukopis=4\nrukopis=-1\n", kDefaults},
        HostileCase{"TooManyStations", "stanice=6\n", kDefaults},
        HostileCase{"FilterTooWide", "filtr=3001\nfiltr=99\n", kDefaults},
        HostileCase{"FadingOutOfRange",
                    "perioda=0\nperioda=31\nhloubka=101\nrozptyl=0\nrozptyl=2001\ncesta=-1\n"
                    "cesta=5001\nagc=3\nzazneje=2\n",
                    kDefaults},
        // An older version's file: its fades keep their mean period, on one path.
        HostileCase{"PeriodWithoutSpread", "perioda=8\n", Describe(With([](ReceptionSettings& s) {
                        s.fadingSpreadCentihertz = 17;
                        s.fadingSeconds = 8;
                        s.pathDelayMicroseconds = 0;
                    }))},
        HostileCase{"UnknownKeysAndNoEquals", "barva=1\nsum\n=1\n\n", kDefaults},
        HostileCase{"CrLfAndNoFinalBreak", "sum=1\r\nsnr=-5",
                    Describe(With([](ReceptionSettings& s) {
                        s.noise = true;
                        s.snrDb = -5;
                    }))},
        HostileCase{"LastGoodLineWins", "snr=3\nsnr=40\nsnr=4\n",
                    Describe(With([](ReceptionSettings& s) { s.snrDb = 4; }))},
        HostileCase{"ZeroBytesAndHighBytes", std::string("sum=1\0\nsnr=5\xff\nunik=1\n", 21),
                    Describe(With([](ReceptionSettings& s) { s.fading = true; }))},
        HostileCase{"OverlongLine", "semeno=" + std::string(100, '7') + "\nrukopis=2\n",
                    Describe(With([](ReceptionSettings& s) { s.fist = FistKind::kStraightKey; }))},
        HostileCase{"LongestSeed", "pevnesemeno=1\nsemeno=18446744073709551615\n",
                    Describe(With([](ReceptionSettings& s) {
                        s.fixedSeed = true;
                        s.seed = 18446744073709551615ULL;
                    }))}),
    CaseName());

}  // namespace
