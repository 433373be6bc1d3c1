#include <gtest/gtest.h>

#include <algorithm>

#include "session/CRozpoznaniModel.h"
#include "tests/support/CRecordingCuePlayer.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CRecognitionFile.h"

namespace {

using Problem = CRozpoznaniModel::Problem;
using Problems = CRozpoznaniModel::Problems;

class RozpoznaniModel : public testing::Test {
protected:
    std::size_t Stored() { return CRecognitionFile(folder.File("rozpoznani")).Read().size(); }
    // Answers the character waiting, whatever it is.
    void Answer(CRozpoznaniModel& model) { ASSERT_TRUE(model.Press('Q', 1).answer.has_value()); }

    CTemporaryFolder folder;
    const CRecognitionFile records{folder.File("rozpoznani")};
    CRecordingCuePlayer player;
};

// A run is stored when the next one starts, when the window closes and when the player refuses a
// sound, and only when something was answered; a run begins only on a player that opens and a set
// with characters.
TEST_F(RozpoznaniModel, RunsStoredAtEveryEnd) {
    CRozpoznaniModel model(player, RecognitionSettings{}, records);
    EXPECT_EQ(model.Close(), Problems{});
    EXPECT_EQ(model.Start(), Problems{});
    Answer(model);
    EXPECT_EQ(model.Start(), Problems{});
    EXPECT_EQ(Stored(), 1U);
    EXPECT_TRUE(model.Running());
    EXPECT_EQ(model.Start(), Problems{});
    EXPECT_EQ(Stored(), 1U) << "a run without answers is not stored";
    Answer(model);
    player.capacity = player.queued;
    EXPECT_EQ(model.Next(), Problems{Problem::kNoSound});
    EXPECT_FALSE(model.Running());
    EXPECT_EQ(Stored(), 2U);
    player.capacity = std::numeric_limits<std::size_t>::max();
    EXPECT_EQ(model.Start(), Problems{});
    Answer(model);
    const int silences = player.silences;
    EXPECT_EQ(model.Close(), Problems{});
    EXPECT_EQ(player.silences, silences + 1);
    EXPECT_EQ(Stored(), 3U);
    EXPECT_FALSE(model.Running());
}

TEST_F(RozpoznaniModel, RunsThatCannotBegin) {
    RecognitionSettings emptyLesson;
    emptyLesson.set = RecognitionSet::Lesson;
    const struct {
        const char* name;
        bool opens;
        std::size_t capacity;
        RecognitionSettings settings;
        Problems problems;
    } cases[] = {
        {"no sound card", false, 1U << 30, {}, {Problem::kNoSound}},
        {"every sound refused", true, 0, {}, {Problem::kNoSound}},
        {"empty lesson", true, 1U << 30, emptyLesson, {Problem::kEmptySet}},
    };
    for (const auto& c : cases) {
        player.opens = c.opens;
        player.capacity = c.capacity;
        CRozpoznaniModel model(player, c.settings, records);
        EXPECT_EQ(model.Start(), c.problems) << c.name;
        EXPECT_FALSE(model.Running()) << c.name;
    }
}

// A run that cannot be added to the records is said, when the next starts and when the window
// closes.
TEST_F(RozpoznaniModel, FailedWriteIsSaid) {
    const CRecognitionFile missing(folder.File("missing/rozpoznani"));
    CRozpoznaniModel model(player, RecognitionSettings{}, missing);
    model.Start();
    Answer(model);
    EXPECT_EQ(model.Start(), Problems{Problem::kWriteFailed});
    Answer(model);
    EXPECT_EQ(model.Close(), Problems{Problem::kWriteFailed});
}

// The limit is bounded as it is set, also when it comes from the window's settings; the choices
// hold while a run is on.
TEST_F(RozpoznaniModel, ChoicesBoundedAndHeldForTheRun) {
    const struct {
        int set;
        int limit;
    } cases[] = {{50, CRozpoznaniModel::kLowestLimit},
                 {CRozpoznaniModel::kHighestLimit + 1, CRozpoznaniModel::kHighestLimit},
                 {1234, 1234}};
    for (const auto& c : cases) {
        RecognitionSettings start;
        start.limitMilliseconds = c.set;
        EXPECT_EQ(CRozpoznaniModel(player, start, records).Settings().limitMilliseconds, c.limit);
        CRozpoznaniModel model(player, RecognitionSettings{}, records);
        model.SetLimit(c.set);
        EXPECT_EQ(model.Settings().limitMilliseconds, c.limit);
    }
    CRozpoznaniModel model(player, RecognitionSettings{}, records);
    model.ChooseSet(9);
    EXPECT_EQ(model.Settings().set, RecognitionSet::All);
    model.ChooseSet(static_cast<int>(RecognitionSet::Digits));
    model.Start();
    model.ChooseSet(static_cast<int>(RecognitionSet::Letters));
    model.SetLimit(300);
    model.SetWrongTone(false);
    EXPECT_EQ(model.Settings().set, RecognitionSet::Digits);
    EXPECT_EQ(model.Settings().limitMilliseconds, RecognitionSettings{}.limitMilliseconds);
    EXPECT_TRUE(model.Settings().wrongTone);
}

// A run ends with its last answer: it is stored then, once, and summed up; a key that is no Morse
// character is no answer; the next Start clears the summary.
TEST_F(RozpoznaniModel, RunEndsAtItsLengthWithASummary) {
    CRozpoznaniModel model(player, RecognitionSettings{}, records);
    model.SetLength(CRozpoznaniModel::kShortestRun);
    model.Start();
    EXPECT_FALSE(model.Press('#', 1).answer) << "not a character";
    for (int k = 0; k < CRozpoznaniModel::kShortestRun; ++k) {
        ASSERT_FALSE(model.GetView().summary);
        ASSERT_TRUE(model.Running());
        const CRozpoznaniModel::Pressed pressed = model.Press('Q', 1);
        ASSERT_TRUE(pressed.answer);
        EXPECT_TRUE(pressed.problems.empty());
        model.Next();
    }
    EXPECT_FALSE(model.Running());
    EXPECT_EQ(Stored(), 1U);
    const auto summary = model.GetView().summary;
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->answers, CRozpoznaniModel::kShortestRun);
    EXPECT_EQ(summary->right + summary->wrong, summary->answers);
    int answered = 0;
    for (const auto& character : summary->characters) {
        answered += character.answers;
    }
    EXPECT_EQ(answered, summary->answers);
    // The summary's text: the counts first, the slowest characters when any was timed, then a
    // line per character; a reader is told the last verdict and the counts in one message.
    const CRozpoznaniModel::View view = model.GetView();
    const std::string counts = "Konec běhu: správně " + std::to_string(summary->right) +
                               " z 10, špatně " + std::to_string(summary->wrong) +
                               ", před koncem znaku " + std::to_string(summary->early) + ".";
    EXPECT_EQ(view.summaryText.substr(0, view.summaryText.find('\n')), counts);
    const bool timed = std::any_of(summary->characters.begin(), summary->characters.end(),
                                   [](const auto& c) { return c.medianMilliseconds.has_value(); });
    EXPECT_EQ(std::count(view.summaryText.begin(), view.summaryText.end(), '\n'),
              static_cast<std::ptrdiff_t>(summary->characters.size()) + (timed ? 1 : 0));
    EXPECT_EQ(view.announcement, view.verdict + ' ' + counts);
    EXPECT_EQ(model.Close(), Problems{});
    EXPECT_EQ(Stored(), 1U) << "stored once";
    model.Start();
    EXPECT_FALSE(model.GetView().summary);
}

// The texts follow the language's captions; a list of the wrong length is not taken.
TEST_F(RozpoznaniModel, TextsInTheLanguagesCaptions) {
    CRozpoznaniModel model(player, RecognitionSettings{}, records);
    CaptionList english = CRozpoznaniModel::CzechCaptions();
    english[CRozpoznaniModel::kSpeed] = "Speed: %1 a minute";
    model.SetCaptions(CaptionList(english.begin(), english.end() - 1));
    EXPECT_EQ(model.GetView().speed.rfind("Rychlost: ", 0), 0U) << model.GetView().speed;
    model.SetCaptions(english);
    EXPECT_EQ(model.GetView().speed,
              "Speed: " + std::to_string(model.GetView().signSpeed) + " a minute");
}

}  // namespace
