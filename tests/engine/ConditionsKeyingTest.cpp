#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "core/CFist.h"
#include "engine/CKeyingEngine.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "output/CSoundCardOutput.h"
#include "output/CStreamRenderer.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CVirtualTime.h"
#include "tests/support/CaseName.h"

namespace {

// A device that keys in real time, as the PC speaker and the DTR line do: every Key and Wait in
// virtual time. It records the conditions it is given and where on the segment's timeline each
// element and the last gap lie.
class CKeyedDevice : public CRecordingDevice {
public:
    using CRecordingDevice::CRecordingDevice;
    void SetReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed) override {
        std::lock_guard lock(mutex);
        given.push_back({settings, seed});
    }
    void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                       std::int32_t keyUnits) override {
        {
            std::lock_guard lock(mutex);
            positions.push_back({startUnits, lengthUnits});
        }
        Key(keyUnits);
    }
    bool WaitOnTimeline(std::int64_t endUnits) override {
        std::lock_guard lock(mutex);
        endOfTimeline = endUnits;
        return false;
    }
    struct Given {
        ReceptionSettings settings;
        std::uint64_t seed;
    };
    std::vector<Given> GivenConditions() const {
        std::lock_guard lock(mutex);
        return given;
    }
    std::vector<CTransmissionTimeline::Tone> Positions() const {
        std::lock_guard lock(mutex);
        return positions;
    }
    std::int64_t EndOfTimeline() const {
        std::lock_guard lock(mutex);
        return endOfTimeline;
    }
    void ClearPositions() {
        std::lock_guard lock(mutex);
        positions.clear();
    }

private:
    mutable std::mutex mutex;
    std::vector<Given> given;
    std::vector<CTransmissionTimeline::Tone> positions;
    std::int64_t endOfTimeline = 0;
};

// The tones keyed in virtual time: each Key's start and length, from the recorded events.
std::vector<CTransmissionTimeline::Tone> KeyedEdges(
    const std::vector<CVirtualTime::Event>& events) {
    std::vector<CTransmissionTimeline::Tone> tones;
    std::int64_t now = 0;
    for (const CVirtualTime::Event& event : events) {
        if (event.kind == 'K') {
            tones.push_back({now, static_cast<std::int32_t>(event.value)});
        }
        if (event.kind == 'K' || event.kind == 'W') {
            now += event.value;
        }
    }
    return tones;
}

CMorseText Text(const std::string& s, int kind) {
    CMorseText text;
    text.SetText(s);
    text.SetKind(kind);
    return text;
}

class ConditionsKeying : public testing::Test {
protected:
    ConditionsKeying() {
        engine = std::make_unique<CKeyingEngine>(&finished, std::make_unique<CFakeTimeSource>(time),
                                                 std::make_unique<CNoPriorityChange>());
        auto keyed = std::make_unique<CKeyedDevice>(time);
        device = keyed.get();
        EXPECT_TRUE(engine->ReplaceDevice(std::move(keyed), -1));
    }
    void Send(const CMorseText& text, int signSpeed, int textSpeed, double ratio) {
        engine->SetSignSpeed(signSpeed);
        engine->SetTextSpeed(textSpeed);
        engine->SetDashRatio(ratio);
        time.Clear();
        device->ClearPositions();
        engine->SetText(text);
        ASSERT_TRUE(engine->Start(text.FormatLines(), false));
        ASSERT_TRUE(finished.WaitFor(++transmissions));
    }

    CVirtualTime time;
    CFinishListener finished;
    int transmissions = 0;
    std::unique_ptr<CKeyingEngine> engine;
    CKeyedDevice* device = nullptr;
};

struct FistCase {
    std::string name;
    FistKind fist;
    std::string text;
    int kind;
    int signSpeed;
    int textSpeed;
    double ratio;
};

class FistOnEveryOutput : public ConditionsKeying, public testing::WithParamInterface<FistCase> {};

// A device that keys in real time keys every element and gap as the fist shapes it: its edges
// are those of the timeline a sound file is made of, for the same fist and seed, and the device
// was told the conditions and the seed before the transmission began.
TEST_P(FistOnEveryOutput, EdgesAreTheFistsTimeline) {
    const FistCase& c = GetParam();
    ReceptionSettings settings;
    settings.fist = c.fist;
    settings.noise = true;
    for (const std::uint64_t seed : {7ULL, 900001ULL}) {
        ASSERT_TRUE(engine->SetReceptionConditions(settings, seed));
        Send(Text(c.text, c.kind), c.signSpeed, c.textSpeed, c.ratio);
        const CTransmissionTimeline model(Text(c.text, c.kind), c.signSpeed, c.textSpeed, c.ratio,
                                          CFist::OfTransmission(c.fist, seed));
        EXPECT_EQ(KeyedEdges(time.Events()), model.Tones()) << seed;
        EXPECT_EQ(device->Positions(), model.Tones()) << seed;
        EXPECT_EQ(device->EndOfTimeline(), model.EndUnits()) << seed;
        ASSERT_FALSE(device->GivenConditions().empty());
        EXPECT_EQ(device->GivenConditions().back().settings, settings);
        EXPECT_EQ(device->GivenConditions().back().seed, seed);
    }
}

INSTANTIATE_TEST_SUITE_P(Fists, FistOnEveryOutput,
                         testing::Values(FistCase{"GoodHand", FistKind::kGoodHand, "PARIS CQ",
                                                  kLetterText, 100, 100, 3.0},
                                         FistCase{"StraightKeySlowText", FistKind::kStraightKey,
                                                  "73 DE OK1", kMixedText, 120, 40, 3.3},
                                         FistCase{"BugCustomSpaces", FistKind::kBug, "CQ  TEST   K",
                                                  kCustomText, 150, 150, 3.0},
                                         FistCase{"None", FistKind::kNone, "EISH 5", kMixedText,
                                                  200, 200, 4.0}),
                         CaseName());

// With no fist the keying is today's exactly, whatever the seed and the sound conditions: the
// same calls with the same durations as an engine never told of conditions.
TEST_F(ConditionsKeying, NoFistKeysTodaysModel) {
    const CMorseText text = Text("CQ CQ DE OK1XYZ 599", kMixedText);
    Send(text, 100, 60, 3.2);
    const std::vector<CVirtualTime::Event> today = time.Events();
    ReceptionSettings everything;
    everything.noise = true;
    everything.fading = true;
    everything.staticCrashes = true;
    everything.interference = true;
    everything.chirp = true;
    everything.keyClicks = true;
    for (const std::uint64_t seed : {1ULL, 123456789ULL}) {
        ASSERT_TRUE(engine->SetReceptionConditions(everything, seed));
        Send(text, 100, 60, 3.2);
        EXPECT_EQ(time.Events(), today) << Describe(time.Events());
    }
}

// A sound file and the stream of the sound card agree sample for sample for the same text,
// settings and seed: the engine keys the transmission live under a fist, and the tones it places
// on the timeline are rendered as the audio callback renders them, in blocks of any size on a
// stream that has played for a while, with the conditions handed over a lead-in before the
// first tone; the file renders the timeline of the same fist and seed.
TEST_F(ConditionsKeying, LiveSoundIsTheFileSound) {
    ReceptionSettings settings;
    settings.noise = true;
    settings.snrDb = 3;
    settings.filterHz = 400;
    settings.fading = true;
    settings.fadingSeconds = 2;
    settings.staticCrashes = true;
    settings.interference = true;
    settings.stations = 2;
    settings.fist = FistKind::kBug;
    constexpr std::uint64_t kSeed = 4242;
    constexpr int kTone = 650;
    constexpr float kGain = 0.7F;
    const CMorseText text = Text("TEST 5NN", kMixedText);
    for (const bool keyedAnew : {false, true}) {
        settings.chirp = keyedAnew;
        settings.keyClicks = keyedAnew;
        ASSERT_TRUE(engine->SetReceptionConditions(settings, kSeed));
        Send(text, 150, 150, 3.0);

        // The file.
        std::vector<float> file;
        const CTransmissionTimeline timeline(text, 150, 150, 3.0,
                                             CFist::OfTransmission(settings.fist, kSeed));
        soundfile::RenderSamples(timeline, kTone, kGain, settings, kSeed,
                                 [&file](const float* samples, std::size_t count) {
                                     file.insert(file.end(), samples, samples + count);
                                 });

        // The stream: it has played a tone before; the conditions begin at `origin`, the
        // transmission's segment a lead-in later, each element on its samples.
        CStreamRenderer stream;
        stream.SetGain(kGain);
        stream.Push({300, 5000, 450});
        std::vector<float> before(77777);
        stream.Render(before.data(), before.size(), 0);
        const std::int64_t origin = 77777 + 1234;
        const std::int64_t segment = origin + CStreamRenderer::kLeadInSamples;
        stream.BeginConditions(
            std::make_unique<CReceptionConditions>(settings, kSeed, kTone, kGain), origin);
        for (const CTransmissionTimeline::Tone& tone : device->Positions()) {
            const std::int64_t start = segment + CSoundCardOutput::SamplesFor(tone.startUnits);
            const std::int64_t end =
                segment + CSoundCardOutput::SamplesFor(tone.startUnits + tone.lengthUnits);
            ASSERT_TRUE(stream.Push({start, end - start, static_cast<float>(kTone)}));
        }
        stream.EndConditions(segment + CSoundCardOutput::SamplesFor(device->EndOfTimeline()) +
                             CStreamRenderer::kTailSamples);
        std::mt19937 blocks(keyedAnew ? 1 : 2);
        std::vector<float> live(before.size() + 1234 + file.size());
        std::int64_t at = static_cast<std::int64_t>(before.size());
        while (at < static_cast<std::int64_t>(live.size())) {
            const auto count = std::min<std::int64_t>(1 + blocks() % 1500,
                                                      static_cast<std::int64_t>(live.size()) - at);
            stream.Render(live.data() + at, static_cast<std::size_t>(count), at);
            at += count;
        }
        live.erase(live.begin(), live.begin() + origin);
        ASSERT_EQ(live.size(), file.size());
        EXPECT_EQ(std::memcmp(live.data(), file.data(), file.size() * sizeof(float)), 0);
        EXPECT_EQ(stream.LateConditions(), 0U);
    }
}

// A sound file without any sound condition is today's file, whatever the seed.
TEST(SoundFileConditions, OffIsTodaysFile) {
    const CTransmissionTimeline timeline(Text("VVV DE OK1", kMixedText), 100, 100, 3.0);
    ReceptionSettings fistOnly;
    fistOnly.fist = FistKind::kStraightKey;
    fistOnly.snrDb = -10;
    EXPECT_EQ(soundfile::RenderWav(timeline, 600, 0.9F),
              soundfile::RenderWav(timeline, 600, 0.9F, fistOnly, 99));
    ReceptionSettings noise;
    noise.noise = true;
    EXPECT_NE(soundfile::RenderWav(timeline, 600, 0.9F),
              soundfile::RenderWav(timeline, 600, 0.9F, noise, 99));
    EXPECT_EQ(soundfile::RenderWav(timeline, 600, 0.9F, noise, 99).size(),
              soundfile::RenderWav(timeline, 600, 0.9F).size());
}

}  // namespace
