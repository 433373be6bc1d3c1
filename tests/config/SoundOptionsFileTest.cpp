#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "config/CSoundOptionsFile.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

SoundOptions AtTheEdges() {
    SoundOptions options;
    options.speak = true;
    options.speakLive = true;
    options.pauseBeforeTenths = 0;
    options.pauseAfterTenths = SoundOptions::kLongestPauseTenths;
    options.ladder = SoundOptions::Ladder::kSteps;
    options.rungs = {SoundOptions::kSlowestRung, 1, 2, SoundOptions::kFastestRung};
    options.stepCpm = SoundOptions::kHighestStepCpm;
    options.stepMinutes = SoundOptions::kLongestStepMinutes;
    return options;
}

// What is written reads back the same, through a real file; the defaults, the edges and whole
// numbers among the rungs (which must not merge into one decimal number).
TEST(SoundOptionsFile, WrittenReadsBackTheSame) {
    const CTemporaryFolder folder;
    const CSoundOptionsFile file(folder.File(CSoundOptionsFile::kFileName));
    for (const SoundOptions& options : {SoundOptions{}, AtTheEdges()}) {
        ASSERT_TRUE(file.Write(options));
        EXPECT_EQ(file.Read(), options);
    }
    SoundOptions integers;
    integers.ladder = SoundOptions::Ladder::kRungs;
    integers.rungs = {1, 2};
    EXPECT_EQ(CSoundOptionsFile::Parse(CSoundOptionsFile::Format(integers)), integers);
}

// A damaged, out-of-range or unknown line keeps that option's default; the others are read.
TEST(SoundOptionsFile, BadLinesKeepTheirDefaults) {
    const SoundOptions read = CSoundOptionsFile::Parse(
        "odpovedi=2\r\npred=-1\npo=101\nzebricek=3\nstupne=1\nkrok=0\nminut=61x\n"
        "nesmysl=1\n\xff\xfe\npred=7\r\n" +
        std::string(300, 'x') + "=1\nzebricek=1");
    SoundOptions expected;
    expected.pauseBeforeTenths = 7;
    expected.ladder = SoundOptions::Ladder::kRungs;
    EXPECT_EQ(read, expected);
    EXPECT_EQ(CSoundOptionsFile::Parse(""), SoundOptions{});
}

struct RungsCase {
    const char* typed;
    std::optional<std::vector<double>> rungs;
};

// Rungs as users write them, with either decimal sign, and what is refused.
TEST(SoundOptionsFile, RungsAsTyped) {
    const RungsCase cases[] = {
        {"1, 1.175, 1.35, 1.5", std::vector<double>{1, 1.175, 1.35, 1.5}},
        {"1; 1,175; 1,35; 1,5", std::vector<double>{1, 1.175, 1.35, 1.5}},
        {"1 1,2 1,4", std::vector<double>{1, 1.2, 1.4}},
        {"1,2,3", std::vector<double>{1, 2, 3}},
        {"1,1.5", std::vector<double>{1, 1.5}},
        {"  0.25 4  ", std::vector<double>{0.25, 4}},
        {"1.23456 2", std::vector<double>{1.235, 2}},
        {"1", std::nullopt},
        {"1,5", std::nullopt},
        {"1 4.5", std::nullopt},
        {"0.2 1", std::nullopt},
        {"1 x", std::nullopt},
        {"1 nan", std::nullopt},
        {"1 2 3 1 2 3 1 2 3 1 2", std::nullopt},
        {"", std::nullopt},
    };
    for (const RungsCase& c : cases) {
        EXPECT_EQ(CSoundOptionsFile::ParseRungs(c.typed), c.rungs) << c.typed;
    }
    const std::vector<double> rungs{1, 1.175, 1.5};
    EXPECT_EQ(CSoundOptionsFile::FormatRungs(rungs, ','), "1; 1,175; 1,5");
    EXPECT_EQ(CSoundOptionsFile::ParseRungs(CSoundOptionsFile::FormatRungs(rungs, ',')), rungs);
}

}  // namespace
