#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/CTransmissionTimeline.h"
#include "session/CourseExport.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/SplitWords.h"
#include "text/CMorseText.h"
#include "text/TextFile.h"
#include "training/CKochCourse.h"

namespace {

// A generated text has the groups asked for, of the lesson's characters, and the same seed gives
// the same text; a text file's lines are words, characters without a code dropped.
TEST(CourseExport, TheTextIsTheOneTheOptionsName) {
    ExportOptions options;
    options.kind = kLessonText;
    options.lesson = 2;
    options.groups = 120;
    options.seed = 5;
    std::string error;
    const auto text = ExportText(options, error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(Split(*text).size(), 120U);
    const std::string lesson = CKochCourse(CKochCourse::DefaultOrder(), 2).Characters();
    for (const char c : *text) {
        EXPECT_TRUE(c == ' ' || lesson.find(c) != std::string::npos) << c;
    }
    EXPECT_EQ(ExportText(options, error), text);
    options.seed = 6;
    EXPECT_NE(ExportText(options, error), text);

    CTemporaryFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("kurz.txt"), "cq de ok1abc\r\nrst 599 ~ ok\n", false));
    options.textFile = folder.File("kurz.txt");
    EXPECT_EQ(ExportText(options, error), "CQ DE OK1ABC RST 599 OK");
    options.textFile = folder.File("missing.txt");
    EXPECT_FALSE(ExportText(options, error));
    EXPECT_NE(error.find("missing.txt"), std::string::npos);
    // Past what is read, a text is refused whole rather than cut where reading stops.
    const std::string large = folder.File("large.txt");
    ASSERT_TRUE(WriteFileBytes(large, "PARIS ", false));
    std::filesystem::resize_file(large, kMaxFileBytes + 1);
    options.textFile = large;
    EXPECT_FALSE(ExportText(options, error));
    EXPECT_NE(error.find("larger than 16 MiB"), std::string::npos) << error;
}

// Split files cut at word boundaries, each within its minutes, numbered in order and together
// holding the whole text; one file keeps its name; a single file over two hours is refused.
TEST(CourseExport, SplitFilesCutAtWordsWithinTheirMinutes) {
    ExportOptions options;
    options.signSpeed = 200;
    options.textSpeed = 200;
    options.groups = 60;
    options.seed = 1;
    options.output = "/tmp/kurz.wav";
    std::string error;
    const std::string text = *ExportText(options, error);
    const auto single = PlanExport(options, text, error);
    ASSERT_TRUE(single) << error;
    ASSERT_EQ(single->size(), 1U);
    EXPECT_EQ((*single)[0].path, "/tmp/kurz.wav");
    EXPECT_EQ((*single)[0].text, text);

    options.splitMinutes = 0.25;
    const auto parts = PlanExport(options, text, error);
    ASSERT_TRUE(parts) << error;
    ASSERT_GT(parts->size(), 2U);
    std::string joined;
    for (std::size_t p = 0; p < parts->size(); ++p) {
        char name[64];
        std::snprintf(name, sizeof name, "/tmp/kurz-%02zu.wav", p + 1);
        EXPECT_EQ((*parts)[p].path, name);
        EXPECT_EQ((*parts)[p].title,
                  "Brumlo " + std::to_string(p + 1) + "/" + std::to_string(parts->size()));
        joined += (joined.empty() ? "" : " ") + (*parts)[p].text;
    }
    EXPECT_EQ(joined, text);
    // Each as many words as fit: the file is within its minutes, one word more would not be.
    const auto file = RenderExportFile(options, (*parts)[0], error);
    ASSERT_TRUE(file) << error;
    const double seconds = static_cast<double>(file->size() - 44) / 2.0 / 44100.0;
    EXPECT_LE(seconds, 15.0 + 0.31);  // with the lead-in and the tail
    CMorseText longer;
    longer.SetText((*parts)[0].text + " " + Split((*parts)[1].text)[0]);
    EXPECT_GT(CTransmissionTimeline(longer, 200, 200, 3.0).EndUnits(), 15LL * 10000000);

    options.splitMinutes = 0;
    options.signSpeed = 60;
    options.textSpeed = 20;
    options.groups = 600;
    EXPECT_FALSE(PlanExport(options, *ExportText(options, error), error));
    EXPECT_NE(error.find("--split-minutes"), std::string::npos) << error;
}

// A ladder keys each group once at each rung, in turn; a step raises the text speed (and the sign
// speed with it where it would fall behind) after every so many minutes of the course.
TEST(CourseExport, LaddersAndStepsRaiseTheSpeed) {
    ExportOptions options;
    options.groups = 5;
    options.seed = 2;
    options.ladder = {1, 1.175, 1.35, 1.5};
    options.output = "a.wav";
    std::string error;
    const std::string text = *ExportText(options, error);
    const std::vector<std::string> words = Split(text);
    ASSERT_EQ(words.size(), 20U);
    const auto files = PlanExport(options, text, error);
    ASSERT_TRUE(files) << error;
    const auto& speeds = (*files)[0].speeds;
    ASSERT_EQ(speeds.size(), 20U);
    const int rungs[] = {60, 71, 81, 90};
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i], words[i - i % 4]) << i;
        EXPECT_EQ(speeds[i].text, rungs[i % 4]) << i;
        EXPECT_EQ(speeds[i].sign, 100) << i;
    }

    options = ExportOptions{};
    options.signSpeed = 100;
    options.textSpeed = 100;
    options.groups = 200;
    options.seed = 4;
    options.stepSpeed = 20;
    options.stepMinutes = 1;
    options.output = "a.wav";
    const auto stepped = PlanExport(options, *ExportText(options, error), error);
    ASSERT_TRUE(stepped) << error;
    const auto& levels = (*stepped)[0].speeds;
    EXPECT_EQ(levels.front().text, 100);
    int changes = 0;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        if (levels[i].text != levels[i - 1].text) {
            ++changes;
            EXPECT_EQ(levels[i].text, levels[i - 1].text + 20) << i;
            EXPECT_EQ(levels[i].sign, levels[i].text) << i;
        }
    }
    // One step for every whole minute the course has lasted before its last word.
    CMorseText course;
    course.SetText((*stepped)[0].text);
    course.SetKind(kCustomText);
    const double minutes =
        static_cast<double>(CTransmissionTimeline(course, levels, 3.0).EndUnits()) / 6e8;
    EXPECT_GE(changes, static_cast<int>(minutes) - 1) << minutes;
    EXPECT_LE(changes, static_cast<int>(minutes)) << minutes;
}

// The band conditions and the fist change the sound, and one seed gives one sound.
TEST(CourseExport, ConditionsComeFromTheSeed) {
    ExportOptions options;
    options.kind = kCallsignText;
    options.groups = 3;
    options.seed = 8;
    options.conditions.noise = true;
    options.conditions.snrDb = 3;
    options.conditions.fading = true;
    options.conditions.staticCrashes = true;
    options.conditions.interference = true;
    options.conditions.stations = 2;
    options.conditions.fist = FistKind::kBug;
    options.output = "a.wav";
    std::string error;
    const auto render = [&error](const ExportOptions& o) {
        const std::string text = *ExportText(o, error);
        return *RenderExportFile(o, (*PlanExport(o, text, error))[0], error);
    };
    const std::string heard = render(options);
    EXPECT_EQ(render(options), heard);
    ExportOptions clean = options;
    clean.conditions = ReceptionSettings{};
    EXPECT_NE(render(clean), heard);
    ExportOptions other = options;
    other.seed = 9;
    EXPECT_NE(render(other), heard);
}

}  // namespace

namespace {

// An answer says a word of its language's list and spells anything else, whatever text it came
// from: a group of one's own text, a callsign, an abbreviation.
TEST(SpokenAnswers, WordsOfTheListAreSaidTheRestSpelled) {
    const struct {
        const char* word;
        bool english;
        bool spelled;
    } cases[] = {{"JE", false, false}, {"je", false, false},   {"THE", true, false},
                 {"THE", false, true}, {"KMRSU", false, true}, {"OK1ABC", true, true},
                 {"TNX", true, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(SpelledAnswer(c.word, c.english), c.spelled) << c.word << " " << c.english;
    }
}

}  // namespace
