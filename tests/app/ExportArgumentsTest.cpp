#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ExportArguments.h"
#include "tests/support/SplitWords.h"
#include "text/CMorseText.h"

namespace {

// Every option read as the window means it; a bad one refused with a line naming it.
TEST(ExportArguments, AreReadOrRefusedWithTheirName) {
    const auto good = ParseExportArguments(
        Split("--kind lesson --lesson 4 --groups 12 --sign-speed 120 --text-speed 40 --tone 700 "
              "--ratio 3.5 --seed 99 --split-minutes 2.5 -o kurz.mp3"));
    ASSERT_TRUE(good.options) << good.error;
    EXPECT_EQ(good.options->kind, kLessonText);
    EXPECT_EQ(good.options->lesson, 4);
    EXPECT_EQ(good.options->groups, 12);
    EXPECT_EQ(good.options->signSpeed, 120);
    EXPECT_EQ(good.options->textSpeed, 40);
    EXPECT_EQ(good.options->tone, 700);
    EXPECT_DOUBLE_EQ(good.options->ratio, 3.5);
    EXPECT_EQ(good.options->seed, 99U);
    EXPECT_DOUBLE_EQ(good.options->splitMinutes, 2.5);
    EXPECT_EQ(good.options->output, "kurz.mp3");
    EXPECT_FALSE(good.options->speak);
    EXPECT_TRUE(ParseExportArguments(Split("--help")).help);
    const auto spoken = ParseExportArguments(
        Split("--speak --language en --pause-before 0 --pause-after 2.5 -o a.ogg"));
    ASSERT_TRUE(spoken.options) << spoken.error;
    EXPECT_TRUE(spoken.options->speak);
    EXPECT_TRUE(spoken.options->english);
    EXPECT_DOUBLE_EQ(spoken.options->pauseBefore, 0);
    EXPECT_DOUBLE_EQ(spoken.options->pauseAfter, 2.5);
    const auto laddered = ParseExportArguments(Split("--ladder 1,1.175,1.35,1.5 -o a.wav"));
    ASSERT_TRUE(laddered.options) << laddered.error;
    EXPECT_EQ(laddered.options->ladder, (std::vector<double>{1, 1.175, 1.35, 1.5}));
    const auto band = ParseExportArguments(
        Split("--snr 3 --fading --qrn --qrm 2 --fist bug --step 20 --every 1.5 -o a.wav"));
    ASSERT_TRUE(band.options) << band.error;
    const ReceptionSettings& c = band.options->conditions;
    EXPECT_TRUE(c.noise);
    EXPECT_EQ(c.snrDb, 3);
    EXPECT_TRUE(c.fading);
    EXPECT_TRUE(c.staticCrashes);
    EXPECT_TRUE(c.interference);
    EXPECT_EQ(c.stations, 2);
    EXPECT_EQ(c.fist, FistKind::kBug);
    EXPECT_EQ(band.options->stepSpeed, 20);
    const auto receiver = ParseExportArguments(
        Split("--fading-preset flutter --fading-depth 80 --multipath 1.5 --agc slow --filter 250 "
              "--qrn-rate 120 --qrm 3 --zero-beat --pile-up --chirp 40 --clicks -o a.wav"));
    ASSERT_TRUE(receiver.options) << receiver.error;
    const ReceptionSettings& r = receiver.options->conditions;
    EXPECT_TRUE(r.fading);
    EXPECT_EQ(r.fadingSpreadCentihertz, 1000);
    EXPECT_EQ(r.fadingDepthPercent, 80);
    EXPECT_EQ(r.pathDelayMicroseconds, 1500);
    EXPECT_EQ(r.agc, ReceptionSettings::Agc::kSlow);
    EXPECT_EQ(r.filterHz, 250);
    EXPECT_EQ(r.staticPerMinute, 120);
    EXPECT_TRUE(r.zeroBeat && r.pileUp && r.keyClicks && r.chirp);
    EXPECT_EQ(r.chirpHz, 40);
    EXPECT_EQ(ParseExportArguments(Split("--fading-spread 0.25 -o a.wav"))
                  .options->conditions.fadingSpreadCentihertz,
              25);
    EXPECT_DOUBLE_EQ(band.options->stepMinutes, 1.5);

    const struct {
        const char* arguments;
        const char* named;  // what the error line must name
    } bad[] = {
        {"", "-o"},
        {"-o kurz.doc", "kurz.doc"},
        {"-o kurz", "kurz"},
        {"--kind poems -o a.wav", "poems"},
        {"--kind", "--kind"},
        {"--sign-speed 65 -o a.wav", "65"},
        {"--text-speed 10 -o a.wav", "10"},
        {"--tone 440 -o a.wav", "440"},
        {"--ratio 3.05 -o a.wav", "3.05"},
        {"--ratio abc -o a.wav", "abc"},
        {"--lesson 0 -o a.wav", "0"},
        {"--lesson 99 -o a.wav", "99"},
        {"--groups -3 -o a.wav", "-3"},
        {"--groups 12x -o a.wav", "12x"},
        {"--seed -1 -o a.wav", "-1"},
        {"--split-minutes 0 -o a.wav", "0"},
        {"--split-minutes nan -o a.wav", "nan"},
        {"--volume 3 -o a.wav", "--volume"},
        {"--text a.txt --kind digits -o a.wav", "--text"},
        {"stray -o a.wav", "stray"},
        {"--speak --language de -o a.wav", "de"},
        {"--ladder 1,,2 -o a.wav", "1,,2"},
        {"--snr 31 -o a.wav", "31"},
        {"--qrm 6 -o a.wav", "6"},
        {"--fist hand -o a.wav", "hand"},
        {"--ladder 1,5 -o a.wav", "1,5"},
        {"--step 10 -o a.wav", "--every"},
        {"--ladder 1,2 --step 5 --every 1 -o a.wav", "--ladder"},
        {"--pause-before -1 -o a.wav", "-1"},
        {"--pause-after 61 -o a.wav", "61"},
        {"--fading-preset stormy -o a.wav", "stormy"},
        {"--fading-spread 0 -o a.wav", "0"},
        {"--fading-spread 21 -o a.wav", "21"},
        {"--multipath 6 -o a.wav", "6"},
        {"--agc medium -o a.wav", "medium"},
        {"--filter 99 -o a.wav", "99"},
        {"--qrn-rate 601 -o a.wav", "601"},
        {"--chirp 201 -o a.wav", "201"},
        {"--pile-up -o a.wav", "--qrm"},
    };
    for (const auto& refused : bad) {
        const auto parsed = ParseExportArguments(Split(refused.arguments));
        EXPECT_FALSE(parsed.options) << refused.arguments;
        EXPECT_NE(parsed.error.find(refused.named), std::string::npos)
            << refused.arguments << ": " << parsed.error;
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
    }
}

}  // namespace
