#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "session/CVolaciZnakyModel.h"
#include "tests/support/CRecordingCuePlayer.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CCallsignRecordsFile.h"

namespace {

class VolaciZnakyModel : public testing::Test {
protected:
    // On the records file `file`, which the test keeps.
    CVolaciZnakyModel Make(const std::string& file = "volaci") {
        return CVolaciZnakyModel(CCallsignSession::Settings{}, player,
                                 files.emplace_back(folder.File(file)), notifier,
                                 [this] { return ++seeds; });
    }
    std::size_t Stored() { return CCallsignRecordsFile(folder.File("volaci")).Read().size(); }

    CTemporaryFolder folder;
    std::deque<CCallsignRecordsFile> files;
    CRecordingCuePlayer player;
    CRecordingNotifier notifier;
    std::uint32_t seeds = 0;
};

// What was answered is stored once: when the run ends, when the next one starts and when the
// window closes; each run draws a seed of its own from the one source.
TEST_F(VolaciZnakyModel, RunsStoredOnceAtEveryEnd) {
    CVolaciZnakyModel model = Make();
    ASSERT_TRUE(model.Start());
    ASSERT_TRUE(model.Answer("?"));
    ASSERT_TRUE(model.Start());
    EXPECT_EQ(Stored(), 1U);
    EXPECT_EQ(seeds, 2U);
    while (model.GetView().running) {
        ASSERT_TRUE(model.Answer("?"));
    }
    EXPECT_FALSE(model.Answer("?")) << "the run is over";
    EXPECT_EQ(Stored(), 2U);
    EXPECT_EQ(model.GetView().answered, CCallsignRun::kCallsigns);
    model.Close();
    EXPECT_EQ(Stored(), 2U) << "a finished run is stored once";
    ASSERT_TRUE(model.Start());
    ASSERT_TRUE(model.Answer("?"));
    model.Close();
    EXPECT_EQ(Stored(), 3U);
    EXPECT_TRUE(notifier.Events().empty());
}

// A sound card that does not open leaves no run; an empty Enter is ignored; an answer is kept to
// the records' length; a records file that cannot be written is said.
TEST_F(VolaciZnakyModel, FailuresAndLongAnswers) {
    player.opens = false;
    CVolaciZnakyModel silent = Make();
    EXPECT_FALSE(silent.Start());
    EXPECT_FALSE(silent.GetView().started);
    player.opens = true;

    CVolaciZnakyModel model = Make("missing/volaci");
    ASSERT_TRUE(model.Start());
    EXPECT_FALSE(model.Answer("  ")) << "an empty Enter is no answer";
    EXPECT_EQ(model.GetView().answered, 0);
    const auto answer = model.Answer(std::string(CVolaciZnakyModel::kLongestAnswer + 50, 'Q'));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->typed.size(), CVolaciZnakyModel::kLongestAnswer);
    model.Close();
    EXPECT_FALSE(notifier.Events().empty());
}

// The choices are bounded as they are set.
TEST_F(VolaciZnakyModel, ChoicesBounded) {
    CVolaciZnakyModel model = Make();
    model.SetStartSpeed(1);
    model.SetStep(1000);
    EXPECT_EQ(model.GetView().settings.startSpeed, CCallsignSession::kLowestStartSpeed);
    EXPECT_EQ(model.GetView().settings.step, CCallsignSession::kLargestStep);
}

// The texts: the hint before a run, each answer's verdict (an answer of spaces alone is none), the
// progress while it runs, and at its end the summary followed by every miss.
TEST_F(VolaciZnakyModel, TextsFromTheCaptions) {
    CVolaciZnakyModel model = Make();
    EXPECT_EQ(model.GetView().progress, "Zvolte počáteční rychlost a krok a stiskněte Start.");
    ASSERT_TRUE(model.Start());
    EXPECT_EQ(model.GetView().verdict, "");
    const auto answer = model.Answer("?");
    ASSERT_TRUE(answer);
    CVolaciZnakyModel::View view = model.GetView();
    const std::string miss = "Chybně: vysíláno " + answer->callsign + ", zapsáno ? (rychlost " +
                             std::to_string(answer->speed) + " znaků za minutu).";
    EXPECT_EQ(view.verdict, miss);
    EXPECT_EQ(view.progress, "Rychlost " + std::to_string(view.speed) +
                                 " znaků za minutu, volací znak 2 z 50, skóre 0.");
    while (model.GetView().running) {
        ASSERT_TRUE(model.Answer("?"));
    }
    view = model.GetView();
    EXPECT_EQ(view.progress, "");
    const std::string summary = view.summaryText;
    EXPECT_EQ(summary.substr(0, summary.find('\n')),
              "Konec běhu: skóre 0, správně 0 z 50 (0 %), nejvyšší rychlost " +
                  std::to_string(view.record.highestSpeed) + " znaků za minutu.");
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), CCallsignRun::kCallsigns);
    EXPECT_NE(summary.find('\n' + miss + '\n'), std::string::npos);
}

}  // namespace
