#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/CConditionsFile.h"
#include "config/CProgramFiles.h"
#include "engine/CKeyingEngine.h"
#include "engine/SoundFileFormats.h"
#include "session/CMorseSession.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CVirtualTime.h"
#include "tests/support/CaseName.h"

namespace {

// Every output opens as a recording device in virtual time.
class CRecordingOutputs : public COutputFactory {
public:
    explicit CRecordingOutputs(CVirtualTime& sharedTime) : time(sharedTime) {}
    std::unique_ptr<COutputDevice> Create(int kind, const std::string&) override {
        return kind >= 0 && kind <= 2 ? std::make_unique<CRecordingDevice>(time) : nullptr;
    }

private:
    CVirtualTime& time;
};

class ConditionsSession : public testing::Test {
protected:
    ConditionsSession() { Open(); }

    void Open() {
        session.reset();
        engine.reset();
        engine = std::make_unique<CKeyingEngine>(&finished, std::make_unique<CFakeTimeSource>(time),
                                                 std::make_unique<CNoPriorityChange>(),
                                                 std::make_unique<CRecordingOutputs>(time));
        session = std::make_unique<CMorseSession>(*engine, notifier, CProgramFiles(folder.Path()),
                                                  records);
        ASSERT_TRUE(session->StartUp());
    }
    // A whole transmission of the text shown; the seed it was keyed from and the check's record.
    CheckRecord Transmit() {
        time.Clear();
        session->Start();
        EXPECT_TRUE(finished.WaitFor(++transmissions));
        session->OnTransmissionEnded(session->Transmission());
        return session->OpenCopyCheck().value().record;
    }
    std::string ConditionsPath() const { return CProgramFiles(folder.Path()).Conditions(); }

    CTemporaryFolder folder;
    const RecordFiles records{CProgramFiles(folder.Path())};
    CVirtualTime time;
    CRecordingNotifier notifier;
    CFinishListener finished;
    int transmissions = 0;
    std::unique_ptr<CKeyingEngine> engine;
    std::unique_ptr<CMorseSession> session;
};

struct SeedCase {
    std::string name;
    bool fixedSeed;
    FistKind fist;
    bool noise;
};

class SeedRules : public ConditionsSession, public testing::WithParamInterface<SeedCase> {};

// Each transmission and sound file is keyed from a seed of its own unless the user fixed one; the
// check records the conditions and that seed whenever anything is on, and nothing otherwise.
TEST_P(SeedRules, NewSeedUnlessFixedAndRecordedWithTheCheck) {
    const SeedCase& c = GetParam();
    ReceptionSettings settings;
    settings.fixedSeed = c.fixedSeed;
    settings.seed = 31337;
    settings.fist = c.fist;
    settings.noise = c.noise;
    settings.snrDb = -5;
    settings.fadingDepthPercent = 10;  // with fading off, not part of what is recorded
    session->SetConditions(settings);
    session->Generate();

    std::vector<std::uint64_t> seeds;
    std::vector<std::vector<CVirtualTime::Event>> keyings;
    for (int k = 0; k < 3; ++k) {
        const CheckRecord record = Transmit();
        seeds.push_back(session->Seed());
        keyings.push_back(time.Events());
        if (c.fist != FistKind::kNone || c.noise) {
            EXPECT_EQ(record.conditions.seed, session->Seed());
            EXPECT_EQ(record.conditions.fist, c.fist);
            EXPECT_EQ(record.conditions.noise, c.noise);
            EXPECT_EQ(record.conditions.snrDb, c.noise ? -5 : ReceptionSettings().snrDb);
            EXPECT_EQ(record.conditions.fadingDepthPercent, ReceptionSettings().fadingDepthPercent);
            EXPECT_FALSE(record.conditions.fixedSeed);
        } else {
            EXPECT_EQ(record.conditions, ReceptionSettings());
        }
    }
    if (c.fixedSeed) {
        EXPECT_EQ(seeds, (std::vector<std::uint64_t>(3, 31337)));
    } else {
        EXPECT_NE(seeds[0], seeds[1]);
        EXPECT_NE(seeds[1], seeds[2]);
    }
    // The fist keys each seed its own way; without one every transmission is keyed alike.
    const bool alike = keyings[0] == keyings[1] && keyings[1] == keyings[2];
    EXPECT_EQ(alike, c.fist == FistKind::kNone || c.fixedSeed);

    // A sound file is keyed from a seed as a transmission is.
    ASSERT_TRUE(session->CanSaveSound());
    session->SaveSound(folder.File("a.wav"));
    const std::uint64_t first = session->Seed();
    session->SaveSound(folder.File("b.wav"));
    EXPECT_EQ(first == session->Seed(), c.fixedSeed);
    const bool sameFile =
        ReadWholeFile(folder.File("a.wav")) == ReadWholeFile(folder.File("b.wav"));
    EXPECT_EQ(sameFile, c.fixedSeed || (c.fist == FistKind::kNone && !c.noise));
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, SeedRules,
    testing::Values(SeedCase{"DrawnWithAFist", false, FistKind::kStraightKey, false},
                    SeedCase{"FixedWithAFist", true, FistKind::kGoodHand, false},
                    SeedCase{"DrawnInNoise", false, FistKind::kNone, true},
                    SeedCase{"FixedInNoise", true, FistKind::kBug, true},
                    SeedCase{"AllOff", false, FistKind::kNone, false}),
    CaseName());

// The conditions live in a file of their own: written when the user sets them (a value out of its
// range is brought within it), read at the next start, and written with
// the last seed at close. A user who never set any gets no file, and "init" stays as it was.
TEST_F(ConditionsSession, KeptInTheirOwnFile) {
    session->Close();
    EXPECT_FALSE(std::filesystem::exists(ConditionsPath()));
    const std::string init = ReadWholeFile(folder.File("init"));
    EXPECT_EQ(std::count(init.begin(), init.end(), '\n'), 14);

    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = 99;
    settings.filterHz = 250;
    settings.fist = FistKind::kBug;
    session->SetConditions(settings);
    ReceptionSettings kept = settings;
    kept.snrDb = ReceptionSettings::kHighestSnrDb;
    EXPECT_EQ(session->Conditions(), kept);
    EXPECT_EQ(ReadWholeFile(ConditionsPath()), CConditionsFile::Format(kept));

    session->Generate();
    Transmit();
    const std::uint64_t last = session->Seed();
    session->Close();
    Open();
    kept.seed = last;
    EXPECT_EQ(session->Conditions(), kept);
    EXPECT_EQ(ReadWholeFile(folder.File("init")), init);
    EXPECT_TRUE(notifier.Events().empty());
}

}  // namespace

namespace {

std::size_t Samples(const std::string& wav) {
    return soundfile::SamplesOfWav(wav).size();
}

// The sound options shape the window's sound files as the command's: a ladder keys each word
// once per rung (a ladder of equal rungs is the text with its words repeated, to the sample), a
// step makes the file shorter, spoken answers add their pauses and speech, a file too long is
// refused with a word to the user, and the options are read again at the next start.
TEST_F(ConditionsSession, SoundOptionsShapeTheWindowsSoundFiles) {
    ReceptionSettings fixed;
    fixed.fixedSeed = true;
    session->SetConditions(fixed);
    session->AcceptCustomText("AB AB CD CD");
    session->SaveSound(folder.File("repeated.wav"));
    session->AcceptCustomText("AB CD");
    session->SaveSound(folder.File("plain.wav"));

    SoundOptions options;
    options.ladder = SoundOptions::Ladder::kRungs;
    options.rungs = {1, 1};
    session->SetSoundOptions(options);
    session->SaveSound(folder.File("ladder.wav"));
    EXPECT_EQ(ReadWholeFile(folder.File("ladder.wav")), ReadWholeFile(folder.File("repeated.wav")));

    options.rungs = {1, 2};
    session->SetSoundOptions(options);
    session->SaveSound(folder.File("faster.wav"));
    const std::size_t plain = Samples(ReadWholeFile(folder.File("plain.wav")));
    const std::size_t repeated = Samples(ReadWholeFile(folder.File("repeated.wav")));
    const std::size_t faster = Samples(ReadWholeFile(folder.File("faster.wav")));
    EXPECT_GT(faster, plain);
    EXPECT_LT(faster, repeated);

    options.ladder = SoundOptions::Ladder::kNone;
    options.speak = true;
    options.pauseBeforeTenths = 5;
    options.pauseAfterTenths = 10;
    session->SetSoundOptions(options);
    session->SaveSound(folder.File("spoken.wav"));
    const std::size_t spoken = Samples(ReadWholeFile(folder.File("spoken.wav")));
    // Two answers, each with 1.5 s of pauses and some speech, but not a minute of it.
    EXPECT_GT(spoken, plain + 2 * 66150 + 2 * 4410);
    EXPECT_LT(spoken, plain + 60 * 44100);
    EXPECT_TRUE(notifier.Events().empty());

    Open();
    EXPECT_EQ(session->SoundFileOptions(), options);

    // Ten rungs at a quarter of the slowest text speed, five hours, are more than one file may
    // hold.
    session->ChooseTextSpeed(0);
    session->AcceptCustomText(std::string(150, 'E'));
    options.speak = false;
    options.ladder = SoundOptions::Ladder::kRungs;
    options.rungs = std::vector<double>(SoundOptions::kMostRungs, SoundOptions::kSlowestRung);
    session->SetSoundOptions(options);
    session->SaveSound(folder.File("long.wav"));
    EXPECT_FALSE(std::filesystem::exists(folder.File("long.wav")));
    EXPECT_EQ(notifier.Events(), (std::vector<std::string>{"SoundTooLong 120"}));
}

}  // namespace
