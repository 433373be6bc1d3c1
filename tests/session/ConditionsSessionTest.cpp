#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/CConditionsFile.h"
#include "config/CProgramFiles.h"
#include "engine/CKeyingEngine.h"
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
        session = std::make_unique<CMorseSession>(*engine, notifier, CProgramFiles(folder.Path()));
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
// range keeps its default, as the file would read it), read at the next start, and written with
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
    kept.snrDb = ReceptionSettings().snrDb;
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
