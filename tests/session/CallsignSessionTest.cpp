#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "session/CCallsignSession.h"
#include "tests/support/CRecordingCuePlayer.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"
#include "tests/support/CaseName.h"
#include "training/CCallsignRecordsFile.h"

namespace {

constexpr double kRate = CCuePlayer::kSampleRate;

// What a learner hears in one sound: the text and the speed it was keyed at, found in the
// samples alone.
struct Heard {
    std::string text;
    double speed = 0.0;  // characters per minute
};

Heard Listen(const std::vector<float>& samples, int toneHz) {
    const CToneDecoder decoder(toneHz, kRate);
    const auto elements = decoder.FindElements(samples);
    if (elements.empty()) {
        return {};
    }
    // The dot is the shortest element or the shortest gap between two elements (a callsign of
    // dashes alone still has its one-dot gaps).
    double unit = elements[0].end - elements[0].onset;
    for (std::size_t k = 0; k < elements.size(); ++k) {
        unit = std::min(unit, elements[k].end - elements[k].onset);
        if (k > 0) {
            unit = std::min(unit, elements[k].onset - elements[k - 1].end);
        }
    }
    // A dot at speed v lasts 6 / v seconds.
    return {CToneDecoder::Decode(elements, unit), 6.0 * kRate / unit};
}

// The pitch of a steady tone from its rising zero crossings, in hertz.
double Pitch(const std::vector<float>& samples) {
    std::vector<std::size_t> crossings;
    for (std::size_t k = 1; k < samples.size(); ++k) {
        if (samples[k - 1] < 0.0f && samples[k] >= 0.0f) {
            crossings.push_back(k);
        }
    }
    if (crossings.size() < 2) {
        return 0.0;
    }
    return kRate * static_cast<double>(crossings.size() - 1) /
           static_cast<double>(crossings.back() - crossings.front());
}

// The sound of the callsign last played: the last sound, its leading pause left out.
const std::vector<float>& LastSound(const CRecordingCuePlayer& player) {
    return player.sounds.back();
}

struct SettleCase {
    std::string name;
    int startSpeed;
    int step;
    // The learner copies right up to this speed and wrongly above it.
    double limit;
    // Every so many answers the learner slips even below the limit (0: never).
    int slipEvery;
};

class CallsignSettling : public testing::TestWithParam<SettleCase> {};

// A learner who copies from the sound alone: right while the callsign comes no faster than the
// learner's limit, wrong above it. The run's speed settles within two steps of that limit.
TEST_P(CallsignSettling, SpeedSettlesNearTheLearnersLimit) {
    const SettleCase& c = GetParam();
    CRecordingCuePlayer player;
    CCallsignSession::Settings settings;
    settings.toneHz = 700;
    settings.startSpeed = c.startSpeed;
    settings.step = c.step;
    settings.wrongTone = false;
    CCallsignSession session(settings, player, 1234);
    ASSERT_TRUE(session.Start());

    std::optional<int> settledAt;
    int answered = 0;
    while (!session.Finished()) {
        const Heard heard = Listen(LastSound(player), settings.toneHz);
        // The sound is the callsign at the run's speed (the ear's estimate within 2 %).
        EXPECT_NEAR(heard.speed, session.Speed(), session.Speed() * 0.02) << answered;
        const int keyedAt = session.Speed();
        if (std::abs(keyedAt - c.limit) <= c.step && !settledAt) {
            settledAt = answered;
        }
        if (settledAt) {
            EXPECT_LE(std::abs(keyedAt - c.limit), 2.0 * c.step)
                << "answer " << answered << " keyed at " << keyedAt;
        }
        const bool slips = c.slipEvery > 0 && answered % c.slipEvery == c.slipEvery - 1;
        const bool copies = heard.speed <= c.limit && !slips;
        const std::string typed = copies ? heard.text : heard.text + "X";
        const auto answer = session.Type(typed);
        ASSERT_TRUE(answer.has_value());
        // The learner's copy of the sound is the callsign exactly when the learner copied it.
        EXPECT_EQ(answer->right, copies) << heard.text << " for " << answer->callsign;
        EXPECT_EQ(answer->speed, keyedAt);
        ++answered;
    }
    EXPECT_EQ(answered, CCallsignRun::kCallsigns);
    ASSERT_TRUE(settledAt.has_value());
    // It gets there on the way from the start speed, a step at a time.
    EXPECT_LE(*settledAt, std::abs(c.startSpeed - c.limit) / c.step + 1);
    const CallsignRunRecord record = session.Record();
    EXPECT_EQ(record.highestSpeed,
              std::max_element(record.answers.begin(), record.answers.end(),
                               [](const auto& x, const auto& y) { return x.speed < y.speed; })
                  ->speed);
}

INSTANTIATE_TEST_SUITE_P(CallsignSession, CallsignSettling,
                         testing::Values(SettleCase{"RisesToTheLimit", 100, 5, 142, 0},
                                         SettleCase{"FallsToTheLimit", 280, 10, 197, 0},
                                         SettleCase{"LargeStep", 120, 20, 211, 0},
                                         SettleCase{"WithSlips", 150, 5, 168, 9}),
                         CaseName());

TEST(CallsignSession, RepeatPlaysTheSameCallsignAgainAtItsCost) {
    CRecordingCuePlayer once;
    CRecordingCuePlayer twice;
    CCallsignSession plain({}, once, 77);
    CCallsignSession repeated({}, twice, 77);
    ASSERT_TRUE(plain.Start());
    ASSERT_TRUE(repeated.Start());
    ASSERT_TRUE(repeated.Repeat());
    ASSERT_EQ(twice.sounds.size(), 2U);
    EXPECT_EQ(twice.sounds[1], twice.sounds[0]);
    EXPECT_EQ(twice.silences, 1);

    const std::string heard = Listen(once.sounds.back(), 600).text;
    const auto right = plain.Type(heard);
    const auto rightAfterRepeat = repeated.Type(heard);
    ASSERT_TRUE(right && rightAfterRepeat);
    EXPECT_TRUE(right->right);
    EXPECT_TRUE(rightAfterRepeat->right);
    EXPECT_EQ(rightAfterRepeat->repeats, 1);
    EXPECT_EQ(rightAfterRepeat->points,
              right->points * (100 - CCallsignRun::kRepeatCostPercent) / 100);
    EXPECT_LT(repeated.Score(), plain.Score());
    // The repeat cost points, not speed.
    EXPECT_EQ(repeated.Speed(), plain.Speed());
}

struct VerdictSoundCase {
    std::string name;
    bool wrongTone;
    bool answerRight;
    // The sounds that follow the answer: the wrong tone, then the pause and the next callsign.
    std::size_t soundsAfter;
};

class VerdictSounds : public testing::TestWithParam<VerdictSoundCase> {};

TEST_P(VerdictSounds, NextCallsignFollowsAPauseAfterTheVerdict) {
    const VerdictSoundCase& c = GetParam();
    CRecordingCuePlayer player;
    CCallsignSession::Settings settings;
    settings.wrongTone = c.wrongTone;
    settings.toneHz = 800;
    CCallsignSession session(settings, player, 5);
    ASSERT_TRUE(session.Start());
    const std::string heard = Listen(player.sounds.back(), settings.toneHz).text;
    const std::size_t before = player.sounds.size();
    ASSERT_TRUE(session.Type(c.answerRight ? heard : heard + "Q"));
    ASSERT_EQ(player.sounds.size() - before, c.soundsAfter);
    if (c.soundsAfter == 2) {
        // The wrong tone is not at the callsigns' tone, and quieter than they are.
        const std::vector<float>& tone = player.sounds[before];
        EXPECT_GT(std::abs(Pitch(tone) - settings.toneHz), 200.0);
        const float loudest = *std::max_element(tone.begin(), tone.end());
        EXPECT_GT(loudest, 0.0f);
        EXPECT_LT(loudest, *std::max_element(player.sounds[0].begin(), player.sounds[0].end()));
    }
    const std::vector<float>& next = player.sounds.back();
    const auto firstSound =
        std::find_if(next.begin(), next.end(), [](float s) { return s != 0.0f; }) - next.begin();
    EXPECT_GE(firstSound, kRate * CCallsignSession::kPauseMilliseconds / 1000);
    // What follows the pause is the next callsign, at the speed the verdict left.
    const Heard nextHeard = Listen(next, settings.toneHz);
    EXPECT_NEAR(nextHeard.speed, session.Speed(), session.Speed() * 0.02);
    EXPECT_FALSE(nextHeard.text.empty());
}

INSTANTIATE_TEST_SUITE_P(CallsignSession, VerdictSounds,
                         testing::Values(VerdictSoundCase{"WrongWithTone", true, false, 2},
                                         VerdictSoundCase{"WrongWithoutTone", false, false, 1},
                                         VerdictSoundCase{"RightIsSilent", true, true, 1}),
                         CaseName());

TEST(CallsignSession, CopyIsJudgedAsTheRecordsKeepIt) {
    CRecordingCuePlayer player;
    CCallsignSession session({}, player, 9);
    ASSERT_TRUE(session.Start());
    std::string heard = Listen(player.sounds.back(), 600).text;
    std::string typed;
    for (const char c : heard) {
        typed += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        typed += ' ';
    }
    const auto lowerSpaced = session.Type(" " + typed + "\t");
    ASSERT_TRUE(lowerSpaced);
    EXPECT_TRUE(lowerSpaced->right) << typed;
    EXPECT_EQ(lowerSpaced->typed, heard);
    // A character outside ASCII never vanishes into a right answer.
    heard = Listen(player.sounds.back(), 600).text;
    const auto accented = session.Type(heard.substr(0, 1) + "\xc3\xa9" + heard.substr(1));
    ASSERT_TRUE(accented);
    EXPECT_FALSE(accented->right);
    EXPECT_EQ(accented->typed, CCallsignRecordsFile::KeptText(accented->typed));
}

// A callsign longer than the player holds (slow, on a small player) reaches it whole, in order,
// in pieces as it plays; an answer drops what still waits.
TEST(CallsignSession, LongSoundIsFedAsThePlayerDrains) {
    CCallsignSession::Settings settings;
    settings.startSpeed = CCallsignSession::kLowestStartSpeed;
    settings.wrongTone = false;
    CRecordingCuePlayer whole;
    CCallsignSession reference(settings, whole, 21);
    ASSERT_TRUE(reference.Start());
    ASSERT_TRUE(reference.Type("?"));

    CRecordingCuePlayer small;
    small.capacity = static_cast<std::size_t>(2 * kRate);
    ASSERT_GT(whole.sounds[0].size(), 2 * small.capacity);
    CCallsignSession session(settings, small, 21);
    ASSERT_TRUE(session.Start());
    std::size_t most = small.queued;
    int feeds = 0;
    while (session.Feed()) {
        small.Drain(static_cast<std::size_t>(kRate / 10));
        most = std::max(most, small.queued);
        ASSERT_LT(++feeds, 10000);
    }
    EXPECT_LE(most, small.capacity);
    std::vector<float> heard;
    for (const auto& piece : small.sounds) {
        heard.insert(heard.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(heard, whole.sounds[0]);

    // Answered while the next callsign still waits: it gives way to the one after.
    small.sounds.clear();
    ASSERT_TRUE(session.Type("?"));
    EXPECT_TRUE(session.Feed());
    ASSERT_TRUE(session.Type("?"));
    EXPECT_EQ(small.queued, small.capacity - small.capacity % CCallsignSession::kPieceSamples);
    while (session.Feed()) {
        small.Drain(static_cast<std::size_t>(kRate));
    }
    EXPECT_FALSE(session.Feed());
}

TEST(CallsignSession, ClosedSoundCardPlaysNothing) {
    CRecordingCuePlayer player;
    player.opens = false;
    CCallsignSession session({}, player, 3);
    EXPECT_FALSE(session.Start());
    EXPECT_FALSE(session.Play());
    EXPECT_TRUE(player.sounds.empty());
}

TEST(CallsignSession, RunEndsAfterItsCallsignsAndIsStoredOnce) {
    CTemporaryFolder folder;
    const std::string path = folder.File("volaci");
    CRecordingNotifier notifier;
    CRecordingCuePlayer player;
    CCallsignSession session({}, player, 11);
    ASSERT_TRUE(session.Start());
    // Nothing answered, nothing stored.
    EXPECT_TRUE(
        session.Save(CCallsignRecordsFile(path), std::chrono::system_clock::now(), notifier));
    EXPECT_TRUE(CCallsignRecordsFile(path).Read().empty());
    for (int k = 0; k < session.Callsigns(); ++k) {
        ASSERT_TRUE(session.Type(k % 3 == 0 ? "" : Listen(player.sounds.back(), 600).text));
    }
    EXPECT_TRUE(session.Finished());
    const std::size_t sounds = player.sounds.size();
    EXPECT_FALSE(session.Type("OK1ABC").has_value());
    EXPECT_FALSE(session.Play());
    EXPECT_FALSE(session.Repeat());
    EXPECT_EQ(player.sounds.size(), sounds);

    EXPECT_TRUE(
        session.Save(CCallsignRecordsFile(path), std::chrono::system_clock::now(), notifier));
    EXPECT_TRUE(
        session.Save(CCallsignRecordsFile(path), std::chrono::system_clock::now(), notifier));
    const auto runs = CCallsignRecordsFile(path).Read();
    ASSERT_EQ(runs.size(), 1U);
    CallsignRunRecord expected = session.Record();
    expected.year = runs[0].year;
    expected.month = runs[0].month;
    expected.day = runs[0].day;
    expected.hour = runs[0].hour;
    expected.minute = runs[0].minute;
    expected.second = runs[0].second;
    EXPECT_EQ(runs[0], expected);
    EXPECT_EQ(runs[0].answers.size(), static_cast<std::size_t>(CCallsignRun::kCallsigns));
    EXPECT_NEAR(runs[0].RightShare(), 2.0 / 3.0, 0.02);
    EXPECT_TRUE(notifier.Events().empty());
}

TEST(CallsignSession, RunClosedMidwayKeepsWhatWasAnswered) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    CRecordingCuePlayer player;
    CCallsignSession::Settings settings;
    settings.startSpeed = 140;
    settings.step = 10;
    CCallsignSession session(settings, player, 12);
    ASSERT_TRUE(session.Start());
    ASSERT_TRUE(session.Type(Listen(player.sounds.back(), 600).text));
    ASSERT_TRUE(session.Type("?"));
    ASSERT_TRUE(session.Save(CCallsignRecordsFile(folder.File("volaci")),
                             std::chrono::system_clock::now(), notifier));
    const auto runs = CCallsignRecordsFile(folder.File("volaci")).Read();
    ASSERT_EQ(runs.size(), 1U);
    EXPECT_EQ(runs[0].startSpeed, 140);
    EXPECT_EQ(runs[0].step, 10);
    ASSERT_EQ(runs[0].answers.size(), 2U);
    EXPECT_EQ(runs[0].answers[1].speed, 150);
    EXPECT_EQ(runs[0].highestSpeed, 150);
    EXPECT_EQ(runs[0].score, session.Score());

    // A records file that cannot be written is said, and the run is not taken for stored.
    CCallsignSession other({}, player, 13);
    ASSERT_TRUE(other.Start());
    ASSERT_TRUE(other.Type("X"));
    const std::string nowhere = folder.File("missing/volaci");
    EXPECT_FALSE(
        other.Save(CCallsignRecordsFile(nowhere), std::chrono::system_clock::now(), notifier));
    EXPECT_EQ(notifier.Events(),
              std::vector<std::string>{"WriteFailed:" + nowhere + ":" + std::to_string(ENOENT)});
    EXPECT_TRUE(other.Save(CCallsignRecordsFile(folder.File("volaci")),
                           std::chrono::system_clock::now(), notifier));
    EXPECT_EQ(CCallsignRecordsFile(folder.File("volaci")).Read().size(), 2U);
}

}  // namespace
