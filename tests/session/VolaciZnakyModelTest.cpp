#include <gtest/gtest.h>

#include "session/CVolaciZnakyModel.h"
#include "tests/support/CRecordingCuePlayer.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CCallsignRecordsFile.h"

namespace {

class VolaciZnakyModel : public testing::Test {
protected:
    CVolaciZnakyModel Make(const std::string& file = "volaci") {
        return CVolaciZnakyModel(CCallsignSession::Settings{}, player, folder.File(file), notifier,
                                 [this] { return ++seeds; });
    }
    std::size_t Stored() { return CCallsignRecordsFile(folder.File("volaci")).Read().size(); }

    CTemporaryFolder folder;
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

}  // namespace
