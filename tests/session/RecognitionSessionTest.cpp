#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/Timing.h"
#include "session/CRecognitionSession.h"
#include "tests/support/CFakeCuePlayer.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"
#include "tests/support/CaseName.h"
#include "training/CRecognitionFile.h"

namespace {

constexpr std::int64_t kMillisecond = 1'000'000;
using Verdict = CInstantRecognition::Verdict;

RecognitionSettings Settings(RecognitionSet set, const std::string& lesson = "") {
    RecognitionSettings settings;
    settings.set = set;
    settings.lessonCharacters = lesson;
    settings.signSpeed = 120;
    settings.textSpeed = 100;
    settings.toneHz = 650;
    settings.seed = 7;
    return settings;
}

// What a sound keys, decoded by ear as it were, with the dot length of its sign speed.
std::string Heard(const CFakeCuePlayer::Sound& sound, int toneHz, int signSpeed) {
    const double dot = ComputeTiming(signSpeed, signSpeed, 3.0).dotSeconds * 44100.0;
    return CToneDecoder::Decode(CToneDecoder(toneHz, 44100).FindElements(sound.samples), dot);
}

struct PlayerCase {
    const char* name;
    std::int64_t leadMilliseconds;
    std::int64_t latencyMilliseconds;
    std::int64_t mappingErrorMicroseconds;
};

class RecognitionReaction : public testing::TestWithParam<PlayerCase> {};

// A learner who hears each character and presses its key a known delay after its last sample is
// heard (the press reaching the program a few milliseconds later): each recorded reaction is
// within 10 ms of the true delay, whatever the sound card's lead and latency, and the character
// played is the one judged.
TEST_P(RecognitionReaction, IsTheTrueDelayWithinTenMilliseconds) {
    const PlayerCase& c = GetParam();
    CFakeCuePlayer player(c.leadMilliseconds * kMillisecond, c.latencyMilliseconds * kMillisecond,
                          c.mappingErrorMicroseconds * 1000);
    player.SetNow(5'000 * kMillisecond);
    CRecognitionSession session(player, Settings(RecognitionSet::Letters));
    const std::int64_t delays[] = {150, 400, 800, 95, 1234, 333, 615, 2000, 47, 980, 1020, 250};
    const std::int64_t arrivals[] = {0, 1, 3, 2, 0, 3, 1, 2, 0, 3, 2, 1};
    for (std::size_t k = 0; k < std::size(delays); ++k) {
        ASSERT_TRUE(session.Next());
        const CFakeCuePlayer::Sound& sound = player.Sounds().back();
        const std::string keyed = Heard(sound, 650, session.SignSpeed());
        ASSERT_EQ(keyed.size(), 1U);
        // The learner hears the end, waits, presses; the press arrives a little later.
        const std::int64_t press = player.TrueHeardEnd() + delays[k] * kMillisecond;
        player.SetNow(press + arrivals[k] * kMillisecond);
        const auto answer = session.Press(keyed[0], player.Now());
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->asked, keyed[0]);
        EXPECT_FALSE(answer->early);
        EXPECT_LE(std::abs(answer->reactionMilliseconds - delays[k]), 10) << delays[k];
        EXPECT_EQ(answer->verdict, delays[k] > 1000 ? Verdict::Slow : Verdict::Right) << delays[k];
        player.SetNow(player.Now() + CRecognitionSession::kPauseMilliseconds * kMillisecond);
    }
}

INSTANTIATE_TEST_SUITE_P(Players, RecognitionReaction,
                         testing::Values(PlayerCase{"ShortBuffer", 10, 20, 0},
                                         PlayerCase{"DeepServerBuffer", 40, 180, 1500},
                                         PlayerCase{"BluetoothLatency", 60, 250, -2000},
                                         PlayerCase{"NoLead", 0, 5, 0}),
                         CaseName());

// Presses that do not follow a heard character: before anything was asked, a second press for
// the same character, a press while the character still sounds (or before the player can tell
// its end). The early ones answer at once, stop the sound and count no reaction time.
TEST(RecognitionSession, PressesOutsideTheRhythmOfTheCharacters) {
    CFakeCuePlayer player(20 * kMillisecond, 60 * kMillisecond);
    player.SetNow(1'000 * kMillisecond);
    CRecognitionSession session(player, Settings(RecognitionSet::Digits));
    EXPECT_FALSE(session.Press('1', player.Now()).has_value()) << "nothing was asked";

    ASSERT_TRUE(session.Next());
    const char first = Heard(player.Sounds().back(), 650, 120)[0];
    // Still being taken by the stream: its end is not known yet.
    ASSERT_EQ(player.HeardEndNanoseconds(), 0);
    auto answer = session.Press(first, player.Now() + 30 * kMillisecond);
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(answer->early);
    EXPECT_EQ(answer->reactionMilliseconds, 0);
    EXPECT_EQ(answer->verdict, Verdict::Right);
    EXPECT_EQ(player.Silenced(), 1);
    EXPECT_FALSE(session.Press(first, player.Now() + 40 * kMillisecond).has_value())
        << "a second press for the same character";

    player.SetNow(player.Now() + 2'000 * kMillisecond);
    ASSERT_TRUE(session.Next());
    // The end is known (the stream has taken the last sample) but not yet heard.
    player.SetNow(player.TrueHeardEnd() - 30 * kMillisecond);
    ASSERT_NE(player.HeardEndNanoseconds(), 0);
    answer = session.Press('x', player.Now());
    ASSERT_TRUE(answer.has_value());
    EXPECT_TRUE(answer->early);
    EXPECT_EQ(answer->verdict, Verdict::Wrong);
    EXPECT_EQ(player.Silenced(), 2);
}

// A wrong answer is heard as the quiet low tone when the switch is on, and not at all when it is
// off; a right one is never followed by a sound. The next character follows the tone and its end
// is measured, not the tone's.
TEST(RecognitionSession, WrongAnswerToneFollowsTheSwitch) {
    for (const bool tone : {true, false}) {
        CFakeCuePlayer player(20 * kMillisecond, 60 * kMillisecond);
        RecognitionSettings settings = Settings(RecognitionSet::Lesson, "KM");
        settings.wrongTone = tone;
        CRecognitionSession session(player, settings);
        ASSERT_TRUE(session.Next());
        const char asked = Heard(player.Sounds().back(), 650, 120)[0];
        player.SetNow(player.TrueHeardEnd() + 300 * kMillisecond);
        ASSERT_EQ(session.Press(asked, player.Now())->verdict, Verdict::Right);
        EXPECT_EQ(player.Sounds().size(), 1U);
        player.SetNow(player.Now() + 500 * kMillisecond);
        ASSERT_TRUE(session.Next());
        player.SetNow(player.TrueHeardEnd() + 300 * kMillisecond);
        ASSERT_EQ(session.Press('E', player.Now())->verdict, Verdict::Wrong);
        ASSERT_EQ(player.Sounds().size(), tone ? 3U : 2U);
        if (tone) {
            const auto low = CToneDecoder(220, 44100).FindElements(player.Sounds().back().samples);
            EXPECT_EQ(low.size(), 1U);
        }
        // Asked at once: the character waits for the tone, and its own end is measured.
        ASSERT_TRUE(session.Next());
        const std::int64_t press = player.TrueHeardEnd() + 420 * kMillisecond;
        player.SetNow(press);
        const auto answer = session.Press('K', press);
        EXPECT_LE(std::abs(answer->reactionMilliseconds - 420), 10);
    }
}

// Five right and quick answers in a row raise the speed by a step, and the next character is
// keyed faster; a slow or wrong answer breaks the row. The speed stops at its maximum.
TEST(RecognitionSession, SpeedRisesWithQuickRightAnswers) {
    CFakeCuePlayer player(20 * kMillisecond, 40 * kMillisecond);
    RecognitionSettings settings = Settings(RecognitionSet::Letters);
    settings.signSpeed = 280;
    settings.textSpeed = 250;
    CRecognitionSession session(player, settings);
    // The delay in ms (-1 for a wrong answer) and the speeds of the next character.
    struct Step {
        int delay;
        int signAfter;
        int textAfter;
        bool rose;
    };
    const Step steps[] = {{300, 280, 250, false}, {300, 280, 250, false}, {1500, 280, 250, false},
                          {300, 280, 250, false}, {300, 280, 250, false}, {-1, 280, 250, false},
                          {300, 280, 250, false}, {300, 280, 250, false}, {300, 280, 250, false},
                          {300, 280, 250, false}, {300, 290, 260, true},  {200, 290, 260, false},
                          {200, 290, 260, false}, {200, 290, 260, false}, {200, 290, 260, false},
                          {200, 300, 270, true},  {200, 300, 270, false}, {200, 300, 270, false},
                          {200, 300, 270, false}, {200, 300, 270, false}, {200, 300, 280, false}};
    for (const Step& step : steps) {
        ASSERT_TRUE(session.Next());
        const std::string keyed = Heard(player.Sounds().back(), 650, session.SignSpeed());
        ASSERT_EQ(keyed.size(), 1U) << "keyed at the session's speed";
        const char typed = step.delay < 0 ? (keyed[0] == 'E' ? 'T' : 'E') : keyed[0];
        player.SetNow(player.TrueHeardEnd() + std::abs(step.delay) * kMillisecond);
        const auto answer = session.Press(typed, player.Now());
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->speedRose, step.rose);
        EXPECT_EQ(session.SignSpeed(), step.signAfter);
        EXPECT_EQ(session.TextSpeed(), step.textAfter);
        player.SetNow(player.Now() + 700 * kMillisecond);
    }
}

struct SetCase {
    const char* name;
    RecognitionSet set;
    const char* lesson;
    const char* characters;
};

class RecognitionSets : public testing::TestWithParam<SetCase> {};

TEST_P(RecognitionSets, HoldEachCharacterWithACodeOnce) {
    EXPECT_EQ(CRecognitionSession::Characters(GetParam().set, GetParam().lesson),
              GetParam().characters);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, RecognitionSets,
    testing::Values(
        SetCase{"Lesson", RecognitionSet::Lesson, "kmrsuaptl", "KMRSUAPTL"},
        SetCase{"LessonWithRepeatsAndStrays", RecognitionSet::Lesson, "KM K\x9A\r\n;m5", "KM5"},
        SetCase{"EmptyLesson", RecognitionSet::Lesson, "", ""},
        SetCase{"Letters", RecognitionSet::Letters, "KM", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        SetCase{"Digits", RecognitionSet::Digits, "", "0123456789"},
        SetCase{"All", RecognitionSet::All, "", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,?/=+!@"}),
    CaseName());

// The results name every character of the set in its order, with its answers, wrong answers and
// the median of its right answers' reactions; an empty set plays nothing.
TEST(RecognitionSession, ResultsPerCharacter) {
    CFakeCuePlayer player(10 * kMillisecond, 30 * kMillisecond);
    CRecognitionSession session(player, Settings(RecognitionSet::Lesson, "KM"));
    EXPECT_FALSE(session.Answered());
    std::map<char, std::vector<int>> reactions;
    std::map<char, int> errors;
    const int delays[] = {300, 500, -1, 700, 200, -1, 900, 410, 600};
    for (const int delay : delays) {
        ASSERT_TRUE(session.Next());
        const char asked = Heard(player.Sounds().back(), 650, session.SignSpeed())[0];
        player.SetNow(player.TrueHeardEnd() + std::abs(delay) * kMillisecond);
        session.Press(delay < 0 ? 'E' : asked, player.Now());
        if (delay < 0) {
            ++errors[asked];
        } else {
            reactions[asked].push_back(delay);
        }
        player.SetNow(player.Now() + 700 * kMillisecond);
    }
    EXPECT_TRUE(session.Answered());
    const auto results = session.Results();
    ASSERT_EQ(results.size(), 2U);
    EXPECT_EQ(results[0].character, 'K');
    EXPECT_EQ(results[1].character, 'M');
    for (const auto& result : results) {
        std::vector<int>& times = reactions[result.character];
        std::sort(times.begin(), times.end());
        EXPECT_EQ(result.answers, static_cast<int>(times.size()) + errors[result.character]);
        EXPECT_EQ(result.errors, errors[result.character]);
        ASSERT_TRUE(result.medianMilliseconds.has_value());
        const std::size_t middle = times.size() / 2;
        const int median =
            times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
        EXPECT_LE(std::abs(*result.medianMilliseconds - median), 10);
    }

    CRecognitionSession empty(player, Settings(RecognitionSet::Lesson, "\x9A;"));
    EXPECT_TRUE(empty.Empty());
    const std::size_t before = player.Sounds().size();
    EXPECT_FALSE(empty.Next());
    EXPECT_EQ(player.Sounds().size(), before);
}

// Closing a run stores it: the set, lesson, starting speeds and limit, and each character that
// was answered with its counts and median; a run without answers stores nothing, and the records
// of earlier runs stay.
TEST(RecognitionSession, SavedRunReadsBackAsItWent) {
    CTemporaryFolder folder;
    const std::string path = folder.File("rozpoznani");
    CFakeCuePlayer player(10 * kMillisecond, 30 * kMillisecond);
    RecognitionSettings settings = Settings(RecognitionSet::Lesson, "KMRS");
    settings.lesson = 3;
    settings.limitMilliseconds = 800;
    const auto now = std::chrono::system_clock::now();
    {
        CRecognitionSession unanswered(player, settings);
        ASSERT_TRUE(unanswered.Next());
        EXPECT_TRUE(unanswered.Save(CRecognitionFile(path), now));
        EXPECT_FALSE(std::filesystem::exists(path));
    }
    for (int run = 0; run < 2; ++run) {
        CRecognitionSession session(player, settings);
        for (const int delay : {300, -1, 500, 900, 250}) {
            ASSERT_TRUE(session.Next());
            const char asked = Heard(player.Sounds().back(), 650, session.SignSpeed())[0];
            player.SetNow(player.TrueHeardEnd() + std::abs(delay) * kMillisecond);
            session.Press(delay < 0 ? 'E' : asked, player.Now());
            player.SetNow(player.Now() + 700 * kMillisecond);
        }
        ASSERT_TRUE(session.Save(CRecognitionFile(path), now));
        const auto records = CRecognitionFile(path).Read();
        ASSERT_EQ(records.size(), static_cast<std::size_t>(run + 1));
        const RecognitionRecord& record = records.back();
        EXPECT_EQ(record.set, RecognitionSet::Lesson);
        EXPECT_EQ(record.lesson, 3);
        EXPECT_EQ(record.signSpeed, 120);
        EXPECT_EQ(record.textSpeed, 100);
        EXPECT_EQ(record.limitMilliseconds, 800);
        std::vector<RecognitionRecord::Character> expected;
        int answers = 0;
        for (const auto& result : session.Results()) {
            if (result.answers > 0) {
                expected.push_back(
                    {result.character, result.answers, result.errors, result.medianMilliseconds});
                answers += result.answers;
            }
        }
        EXPECT_EQ(answers, 5);
        EXPECT_EQ(record.characters, expected);
    }
}

// A learner who comes back to the keyboard after twenty minutes answers with the longest
// reaction the records keep, and the run is stored and read back.
TEST(RecognitionSession, ALongBreakCountsAsTheLongestReaction) {
    CTemporaryFolder folder;
    CFakeCuePlayer player(10 * kMillisecond, 30 * kMillisecond);
    CRecognitionSession session(player, Settings(RecognitionSet::Lesson, "K"));
    ASSERT_TRUE(session.Next());
    player.SetNow(player.TrueHeardEnd() + 20LL * 60 * 1000 * kMillisecond);
    const auto answer = session.Press('K', player.Now());
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(answer->reactionMilliseconds, kLongestReactionMilliseconds);
    EXPECT_EQ(answer->verdict, Verdict::Slow);
    ASSERT_TRUE(session.Save(CRecognitionFile(folder.File("rozpoznani")),
                             std::chrono::system_clock::now()));
    const auto records = CRecognitionFile(folder.File("rozpoznani")).Read();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0].characters[0].medianMilliseconds, kLongestReactionMilliseconds);
}

}  // namespace
