#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <thread>

#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CKeyingEngine.h"
#include "engine/CTransmissionTimeline.h"
#include "tests/support/CVirtualTime.h"

namespace {

using Events = std::vector<CVirtualTime::Event>;
using namespace std::chrono_literals;

// Figures at 100/100 and ratio 3.0.
constexpr std::int64_t kDot = 600000;
constexpr std::int64_t kDash = 1800000;
constexpr std::int64_t kCharacterGap = 1200000;
constexpr std::int64_t kWordGap = 2400000;
constexpr std::int64_t kStartGap = 3600000;
constexpr std::int64_t kFurtherSpace = 4200000;

Events Sign(char c, std::int64_t dot = kDot, std::int64_t dash = kDash) {
    Events events;
    for (const char element : CMorseTable::CodeOf(c, false)) {
        events.push_back({'K', element == '.' ? dot : dash});
        events.push_back({'W', dot});
    }
    return events;
}

Events operator+(Events a, const Events& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Events Wait(std::int64_t units) {
    return {{'W', units}};
}
Events Tone(std::int64_t hz) {
    return {{'T', hz}};
}
Events Opening() {
    return Tone(450) + Sign('=') + Wait(kStartGap);
}
Events Closing() {
    return Sign('+');
}

class CRecordingListener : public CEngineListener {
public:
    void SentTextChanged(const std::string& sentText) override {
        std::lock_guard lock(mutex);
        sent.push_back(sentText);
    }
    void TransmissionFinished() override {
        std::lock_guard lock(mutex);
        ++finished;
        condition.notify_all();
    }
    bool WaitFinished(int count) {
        std::unique_lock lock(mutex);
        return condition.wait_for(lock, 10s, [&] { return finished >= count; });
    }
    std::vector<std::string> Sent() const {
        std::lock_guard lock(mutex);
        return sent;
    }
    std::size_t LastSentLength() const {
        std::lock_guard lock(mutex);
        return sent.empty() ? 0 : sent.back().size();
    }

private:
    mutable std::mutex mutex;
    std::condition_variable condition;
    std::vector<std::string> sent;
    int finished = 0;
};

template <typename Condition>
bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(100us);
    }
    return true;
}

class KeyingEngine : public testing::Test {
protected:
    void SetUp() override {
        engine = std::make_unique<CKeyingEngine>(&listener, std::make_unique<CFakeTimeSource>(time),
                                                 std::make_unique<CNoPriorityChange>());
        ASSERT_TRUE(engine->ReplaceDevice(std::make_unique<CRecordingDevice>(time), -1));
        time.Clear();
    }

    void Begin(const std::string& s, int kind, bool stepping = false) {
        CMorseText text;
        text.SetText(s);
        text.SetKind(kind);
        engine->SetText(text);
        display = text.FormatLines();
        ASSERT_TRUE(engine->Start(display, stepping));
    }

    void Send(const std::string& s, int kind) {
        Begin(s, kind);
        ASSERT_TRUE(listener.WaitFinished(++transmissions));
    }

    // Makes every Key and Wait wait until the progress thread has taken the signals before it,
    // so that the sent marking can be compared exactly.
    void FollowProgress() {
        time.SetHook([this](std::size_t) {
            Eventually([this] {
                return engine->Progress().IsWaiting() ||
                       listener.LastSentLength() == display.size();
            });
        });
    }

    CVirtualTime time;
    CRecordingListener listener;
    std::unique_ptr<CKeyingEngine> engine;
    std::string display;
    int transmissions = 0;
};

TEST_F(KeyingEngine, SingleCharacterWithStartAndEndSign) {
    FollowProgress();
    Send("E", kLetterText);
    EXPECT_EQ(time.Events(), Opening() + Sign('E') + Wait(kCharacterGap) + Closing())
        << Describe(time.Events());
    EXPECT_EQ(engine->Progress().SetCount(), 1);
    EXPECT_EQ(listener.Sent(), std::vector<std::string>{"E"});
    EXPECT_FALSE(engine->IsSending());
}

// The transmission ends at the refused element, without the end sign; a character is marked
// only when all of its elements went out, in either pace.
TEST_F(KeyingEngine, DeviceFailureEndsTheTransmissionAtOnce) {
    for (const bool stepping : {false, true}) {
        time.Clear();
        // The start sign's five elements and the first E work; the second E is refused.
        ASSERT_TRUE(engine->ReplaceDevice(std::make_unique<CFailingDevice>(time, 6), -1));
        FollowProgress();
        Begin("EE", kLetterText, stepping);
        if (stepping) {
            ASSERT_TRUE(Eventually([this] { return engine->IsSuspended(); }));
            engine->Resume();
            ASSERT_TRUE(Eventually([this] { return engine->IsSuspended(); }));
            engine->Resume();
        }
        ASSERT_TRUE(listener.WaitFinished(++transmissions));
        EXPECT_EQ(time.Events(), Opening() + Sign('E') + Wait(kCharacterGap) + Sign('E'))
            << stepping << " " << Describe(time.Events());
        EXPECT_EQ(listener.Sent().back(), "E") << stepping;
        EXPECT_EQ(engine->Failure().fault, OutputFault::kLineRefused);
        EXPECT_EQ(engine->Failure().error, EIO);
        EXPECT_FALSE(engine->IsSending());
    }
    // The next transmission on a working device has no failure.
    ASSERT_TRUE(engine->ReplaceDevice(std::make_unique<CRecordingDevice>(time), -1));
    Send("E", kLetterText);
    EXPECT_FALSE(engine->Failure());
}

TEST_F(KeyingEngine, RunOfSpacesIsOneWordGapForGeneratedKinds) {
    for (const int kind : {kLetterText, kDigitText, kMixedText, kCipherText}) {
        time.Clear();
        Send("A  B", kind);
        EXPECT_EQ(time.Events(), Opening() + Sign('A') + Wait(kCharacterGap) + Wait(kWordGap) +
                                     Sign('B') + Wait(kCharacterGap) + Closing())
            << "kind " << kind << ": " << Describe(time.Events());
        EXPECT_EQ(engine->Progress().PulseCount(), 1);
        EXPECT_EQ(engine->Progress().SetCount(), 2);
    }
}

TEST_F(KeyingEngine, EverySpaceIsAGapInCustomText) {
    Send("A  B", kCustomText);
    EXPECT_EQ(time.Events(), Opening() + Sign('A') + Wait(kCharacterGap) + Wait(kWordGap) +
                                 Wait(kFurtherSpace) + Sign('B') + Wait(kCharacterGap) + Closing())
        << Describe(time.Events());
    EXPECT_EQ(engine->Progress().PulseCount(), 2);
}

TEST_F(KeyingEngine, SentMarkingFollowsCharactersSpacesAndLineBreaks) {
    FollowProgress();
    // 59 letters and a space fill the first display line; the marking takes the space together
    // with the line break after it.
    const std::string text = std::string(59, 'E') + " T";
    Send(text, kLetterText);
    const std::vector<std::string> sent = listener.Sent();
    ASSERT_EQ(sent.size(), 61u);
    EXPECT_EQ(sent[58], std::string(59, 'E'));
    EXPECT_EQ(sent[59], std::string(59, 'E') + " \r\n");
    EXPECT_EQ(sent[60], display);
}

TEST_F(KeyingEngine, CharacterWithoutCodeCostsAGapAndASignal) {
    Send("A.B", kCustomText);
    EXPECT_EQ(time.Events(), Opening() + Sign('A') + Wait(kCharacterGap) + Wait(kCharacterGap) +
                                 Sign('B') + Wait(kCharacterGap) + Closing())
        << Describe(time.Events());
    EXPECT_EQ(engine->Progress().SetCount(), 3);
}

TEST_F(KeyingEngine, EmptyTextKeysOnlyTheSigns) {
    Send("", kLetterText);
    EXPECT_EQ(time.Events(), Opening() + Closing());
    EXPECT_TRUE(listener.Sent().empty());
}

TEST_F(KeyingEngine, StopCompletesTheWordAndItsGap) {
    // Stop while the first dash of "TT" is keyed.
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->RequestStop();
        }
    });
    Send("TT EE", kLetterText);
    EXPECT_EQ(time.Events(), Opening() + Sign('T') + Wait(kCharacterGap) + Sign('T') +
                                 Wait(kCharacterGap) + Wait(kWordGap) + Closing())
        << Describe(time.Events());
}

TEST_F(KeyingEngine, PauseHaltsAtTheWordGapAndResumes) {
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->RequestPause(true);
        }
    });
    Begin("T E", kLetterText);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    const Events paused = Opening() + Sign('T') + Wait(kCharacterGap) + Wait(kWordGap);
    EXPECT_EQ(time.Events(), paused) << Describe(time.Events());

    // What the Pause button does when pressed again.
    engine->Resume();
    engine->RequestPause(false);
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(), paused + Sign('E') + Wait(kCharacterGap) + Closing());
}

TEST_F(KeyingEngine, StopWhilePausedEndsWithTheEndSign) {
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->RequestPause(true);
        }
    });
    Begin("T E", kLetterText);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    engine->RequestStop();
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(),
              Opening() + Sign('T') + Wait(kCharacterGap) + Wait(kWordGap) + Closing());
}

TEST_F(KeyingEngine, StepsKeyOneCharacterEach) {
    Begin("AB C", kLetterText, true);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    EXPECT_EQ(time.Events(), Opening());

    Events expected = Opening();
    for (const char c : std::string("AB")) {
        engine->Resume();
        expected = expected + Sign(c) + Wait(kCharacterGap);
        ASSERT_TRUE(Eventually([&] { return engine->IsSuspended() && time.Events() == expected; }))
            << Describe(time.Events());
    }
    // The word gap costs no time: the next step keys C at once.
    engine->Resume();
    expected = expected + Sign('C') + Wait(kCharacterGap);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended() && time.Events() == expected; }))
        << Describe(time.Events());
    // One more press ends the transmission.
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(), expected + Closing());
    // One signal per character that waits to be taken, and a pulse for the word gap.
    EXPECT_EQ(engine->Progress().SetCount(), 3);
    EXPECT_EQ(engine->Progress().PulseCount(), 1);
}

// A tone chosen while waiting for a press reaches the device on the send thread, as the next
// character begins: never from the caller's thread while the send thread may be keying.
TEST_F(KeyingEngine, ToneChangeBetweenStepsReachesTheNextCharacter) {
    Begin("EE", kLetterText, true);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    engine->Resume();
    const Events first = Opening() + Sign('E') + Wait(kCharacterGap);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended() && time.Events() == first; }));
    engine->SetToneFrequency(800);
    EXPECT_EQ(time.Events(), first);
    engine->Resume();
    const Events second = first + Tone(800) + Sign('E') + Wait(kCharacterGap);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended() && time.Events() == second; }))
        << Describe(time.Events());
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(), second + Closing());
}

TEST_F(KeyingEngine, StopWhileWaitingForAStep) {
    Begin("AB", kLetterText, true);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    engine->Resume();
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended() && time.Events().size() > 13; }));
    engine->RequestStop();
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(), Opening() + Sign('A') + Wait(kCharacterGap) + Closing());
}

TEST_F(KeyingEngine, EmptyTextInSteppingModeNeedsOnePress) {
    Begin("", kLetterText, true);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    EXPECT_EQ(time.Events(), Opening() + Closing());
}

TEST_F(KeyingEngine, StepPressWhileKeyingIsNotRemembered) {
    Begin("EE", kLetterText, true);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    // A press during the first character's keying must not key the second one.
    time.SetHook([&](std::size_t) { engine->Resume(); });
    engine->Resume();
    const Events oneCharacter = Opening() + Sign('E') + Wait(kCharacterGap);
    ASSERT_TRUE(Eventually(
        [&] { return engine->IsSuspended() && time.Events().size() >= oneCharacter.size(); }));
    time.SetHook(nullptr);
    EXPECT_EQ(time.Events(), oneCharacter);
    engine->RequestStop();
    ASSERT_TRUE(listener.WaitFinished(1));
}

TEST_F(KeyingEngine, SpeedAndToneChangesApplyAtTheNextWordGap) {
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->SetTextSpeed(50);
            engine->SetToneFrequency(800);
        }
    });
    Send("TT TT", kLetterText);
    const TimingValues slower = ComputeTiming(100, 50, 3.0);
    const auto slowGap = static_cast<std::int64_t>(3 * slower.spacingUnits - slower.dotUnits);
    EXPECT_EQ(time.Events(), Opening() + Sign('T') + Wait(kCharacterGap) + Sign('T') +
                                 Wait(kCharacterGap) + Wait(kWordGap) + Tone(800) + Sign('T') +
                                 Wait(slowGap) + Sign('T') + Wait(slowGap) + Closing());
}

// Sign speed 60 with text speed 20: the elements keep the sign speed, the gaps stretch to the
// figures of the timing model (a dot of 0.1 s, a spacing unit of 0.6263 s).
TEST_F(KeyingEngine, SlowTextStretchesTheGapsTheEngineWaits) {
    engine->SetSignSpeed(60);
    engine->SetTextSpeed(20);
    Send("EE E", kLetterText);
    constexpr std::int64_t kSlowDot = 1000000;
    const auto sign = [](char c) { return Sign(c, kSlowDot, 3 * kSlowDot); };
    EXPECT_EQ(time.Events(), Tone(450) + sign('=') + Wait(42842105) + sign('E') + Wait(17789473) +
                                 sign('E') + Wait(17789473) + Wait(25052631) + sign('E') +
                                 Wait(17789473) + sign('+'))
        << Describe(time.Events());
}

TEST_F(KeyingEngine, RatioChangeLengthensDashesButKeepsTheSpacingUnit) {
    engine->SetSignSpeed(100);
    engine->SetTextSpeed(50);
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->SetDashRatio(4.0);
        }
    });
    Send("TT TT", kLetterText);
    const TimingValues timing = ComputeTiming(100, 50, 3.0);
    const auto gap = static_cast<std::int64_t>(3 * timing.spacingUnits - timing.dotUnits);
    const auto wordGap = static_cast<std::int64_t>(4 * timing.spacingUnits);
    const auto startGap = static_cast<std::int64_t>(7 * timing.spacingUnits - timing.dotUnits);
    const Events opening = Tone(450) + Sign('=') + Wait(startGap);
    EXPECT_EQ(time.Events(), opening + Sign('T') + Wait(gap) + Sign('T') + Wait(gap) +
                                 Wait(wordGap) + Sign('T', kDot, 4 * kDot) + Wait(gap) +
                                 Sign('T', kDot, 4 * kDot) + Wait(gap) + Sign('+', kDot, 4 * kDot));
    // The next transmission starts with the spacing of the new ratio.
    time.Clear();
    Send("T", kLetterText);
    const TimingValues next = ComputeTiming(100, 50, 4.0);
    EXPECT_EQ(time.Events()[11],
              (CVirtualTime::Event{
                  'W', static_cast<std::int64_t>(7 * next.spacingUnits - next.dotUnits)}));
}

TEST_F(KeyingEngine, SmallDeviationIsCarriedIntoTheNextStep) {
    // The first element of "EE" runs 0.5 ms long; its character gap is shortened by as much.
    time.AddExtra(Opening().size() - 1, 5000);
    Send("EE", kLetterText);
    const Events events = time.Events();
    const std::size_t gap = Opening().size() + 2;
    ASSERT_GT(events.size(), gap + 2);
    EXPECT_EQ(events[gap], (CVirtualTime::Event{'W', kCharacterGap - 5000}));
    // That step came out 0.5 ms short of its nominal length, which cancels the correction.
    EXPECT_EQ(events[gap + 1], (CVirtualTime::Event{'K', kDot}));
}

TEST_F(KeyingEngine, LargeOverrunIsMadeGoodOneMillisecondPerStep) {
    // A 5 ms overrun of the first element: the next five steps each lose 1 ms.
    time.AddExtra(Opening().size() - 1, 50000);
    Send("EEEE", kLetterText);
    const Events events = time.Events();
    std::size_t i = Opening().size() + 2;  // the first character gap
    EXPECT_EQ(events[i], (CVirtualTime::Event{'W', kCharacterGap - 10000}));
    for (int character = 1; character < 3; ++character) {
        EXPECT_EQ(events[i + 1], (CVirtualTime::Event{'K', kDot - 10000})) << character;
        EXPECT_EQ(events[i + 2], (CVirtualTime::Event{'W', kDot}));
        EXPECT_EQ(events[i + 3], (CVirtualTime::Event{'W', kCharacterGap - 10000}));
        i += 3;
    }
    // Five steps have been shortened; the sixth is keyed in full again.
    EXPECT_EQ(events[i + 1], (CVirtualTime::Event{'K', kDot})) << Describe(events);
}

TEST_F(KeyingEngine, TheRestOfALargeOverrunIsNotLost) {
    // 5.5 ms over: five whole milliseconds one per step, the half millisecond on the next step,
    // so that the text ends on the model's timeline again.
    const std::int64_t start = time.Now();
    Send("EEEEEEE", kLetterText);
    const std::int64_t undisturbed = time.Now() - start;
    time.Clear();
    time.AddExtra(Opening().size() - 1, 55000);
    const std::int64_t restart = time.Now();
    Send("EEEEEEE", kLetterText);
    const Events events = time.Events();
    const std::size_t i = Opening().size() + 2;
    EXPECT_EQ(events[i], (CVirtualTime::Event{'W', kCharacterGap - 10000 - 5000}));
    EXPECT_EQ(events[i + 1], (CVirtualTime::Event{'K', kDot - 10000}));
    EXPECT_EQ(time.Now() - restart, undisturbed) << Describe(events);
}

TEST_F(KeyingEngine, ShortStepIsPaddedWithAWait) {
    // The first element gap ends 3 ms early: a 3 ms wait follows it.
    time.AddExtra(Opening().size(), -30000);
    Send("EE", kLetterText);
    const Events events = time.Events();
    const std::size_t afterStep = Opening().size() + 2;
    EXPECT_EQ(events[afterStep], (CVirtualTime::Event{'W', 30000})) << Describe(events);
    EXPECT_EQ(events[afterStep + 1], (CVirtualTime::Event{'W', kCharacterGap}));
}

TEST_F(KeyingEngine, ADeviceKeyedByAnyBytesEndsWithTheEndSign) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    Send(bytes, kCustomText);
    const Events events = time.Events();
    const Events closing = Closing();
    ASSERT_GE(events.size(), closing.size());
    EXPECT_TRUE(std::equal(closing.begin(), closing.end(), events.end() - std::ssize(closing)));
}

TEST_F(KeyingEngine, DestroyingWhileSendingStopsAndJoins) {
    time.SetHook([](std::size_t) { std::this_thread::sleep_for(1ms); });
    Begin(std::string(300, 'E'), kCustomText);
    ASSERT_TRUE(Eventually([&] { return time.Events().size() > 30; }));
    engine.reset();
    const Events events = time.Events();
    const Events closing = Closing();
    EXPECT_LT(events.size(), 300u * 3);
    EXPECT_TRUE(std::equal(closing.begin(), closing.end(), events.end() - std::ssize(closing)));
}

}  // namespace

namespace {

// Records where on the segment's timeline the engine puts every element, and when segments
// begin and the transmission ends; keys in virtual time like the recording device.
class CTimelineDevice : public CRecordingDevice {
public:
    using CRecordingDevice::CRecordingDevice;
    void BeginSegment() override {
        std::lock_guard lock(mutex);
        ++segments;
        positions.emplace_back();
    }
    void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                       std::int32_t keyUnits) override {
        {
            std::lock_guard lock(mutex);
            positions.back().push_back({startUnits, lengthUnits});
        }
        Key(keyUnits);
    }
    void EndTransmission() override {
        std::lock_guard lock(mutex);
        ++ends;
    }
    std::vector<std::vector<CTransmissionTimeline::Tone>> Positions() const {
        std::lock_guard lock(mutex);
        return positions;
    }
    int Ends() const {
        std::lock_guard lock(mutex);
        return ends;
    }

private:
    mutable std::mutex mutex;
    int segments = 0;
    int ends = 0;
    std::vector<std::vector<CTransmissionTimeline::Tone>> positions;
};

class Timeline : public KeyingEngine {
protected:
    void SetUp() override {
        KeyingEngine::SetUp();
        auto recorder = std::make_unique<CTimelineDevice>(time);
        device = recorder.get();
        ASSERT_TRUE(engine->ReplaceDevice(std::move(recorder), -1));
    }
    CTimelineDevice* device = nullptr;
};

// Without a pause the whole transmission is one segment whose elements lie exactly where the
// model's timeline has them, at any speeds and ratio, also for custom text with runs of spaces,
// whatever the step correction does to the real-time durations.
TEST_F(Timeline, ElementsLieOnTheModelsTimeline) {
    const struct {
        const char* text;
        int kind;
        int sign;
        int textSpeed;
        double ratio;
    } cases[] = {{"PARIS PARIS", kLetterText, 100, 100, 3.0},
                 {"AB  C", kCustomText, 60, 20, 3.5},
                 {"120 0", kDigitText, 200, 60, 4.0}};
    int sent = 0;
    for (const auto& c : cases) {
        engine->SetSignSpeed(c.sign);
        engine->SetTextSpeed(c.textSpeed);
        engine->SetDashRatio(c.ratio);
        // Every third call takes a millisecond longer: the correction shortens what follows.
        for (std::size_t call = 0; call < 400; call += 3) {
            time.AddExtra(call, 10000);
        }
        Send(c.text, c.kind);
        ++sent;
        CMorseText text;
        text.SetText(c.text);
        text.SetKind(c.kind);
        const CTransmissionTimeline model(text, c.sign, c.textSpeed, c.ratio);
        const auto positions = device->Positions();
        ASSERT_EQ(positions.size(), static_cast<std::size_t>(sent)) << c.text;
        EXPECT_EQ(positions.back(), model.Tones()) << c.text;
        EXPECT_EQ(device->Ends(), sent);
        time.Clear();
    }
}

// A speed change during the first word reaches the sound from the second word on, exactly where
// the timeline of changing speeds has it (the one sound files with speed ladders are made from).
TEST_F(Timeline, ASpeedChangeLiesWhereTheLadderTimelineHasIt) {
    engine->SetSignSpeed(100);
    engine->SetTextSpeed(60);
    const std::size_t firstTextCall = Opening().size() - 1;
    time.SetHook([&](std::size_t call) {
        if (call == firstTextCall) {
            engine->SetSignSpeed(150);
            engine->SetTextSpeed(150);
        }
    });
    Send("PARIS PARIS", kLetterText);
    CMorseText text;
    text.SetText("PARIS PARIS");
    text.SetKind(kLetterText);
    const CTransmissionTimeline ladder(text, {{100, 60}, {150, 150}}, 3.0);
    const auto positions = device->Positions();
    ASSERT_EQ(positions.size(), 1U);
    EXPECT_EQ(positions.back(), ladder.Tones());
    EXPECT_NE(ladder.Tones(), CTransmissionTimeline(text, 100, 60, 3.0).Tones());
}

// A resumed pause begins a segment of its own, counted from 0 again, as does every step press.
TEST_F(Timeline, PauseAndStepsBeginSegments) {
    time.SetHook([&](std::size_t call) {
        if (call == 12) {
            engine->RequestPause(true);
        }
    });
    Begin("EE TT", kLetterText);
    ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
    engine->RequestPause(false);
    engine->Resume();
    ASSERT_TRUE(listener.WaitFinished(1));
    auto positions = device->Positions();
    ASSERT_EQ(positions.size(), 2U);
    // The second segment starts with the first T at 0; its second T follows a dash and a gap.
    ASSERT_FALSE(positions[1].empty());
    EXPECT_EQ(positions[1][0], (CTransmissionTimeline::Tone{0, static_cast<std::int32_t>(kDash)}));
    EXPECT_EQ(positions[1][1].startUnits, kDash + kCharacterGap + kDot);

    time.SetHook(nullptr);
    Begin("EE", kLetterText, true);
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
        engine->Resume();
    }
    ASSERT_TRUE(listener.WaitFinished(2));
    positions = device->Positions();
    // The start sign, each E and the end sign: one segment each, each from 0.
    ASSERT_EQ(positions.size(), 2U + 4U);
    for (std::size_t k = 2; k < positions.size(); ++k) {
        ASSERT_FALSE(positions[k].empty());
        EXPECT_EQ(positions[k][0].startUnits, 0) << k;
    }
    EXPECT_EQ(device->Ends(), 2);
}

// A device that keys ahead of its sound, as the sound card does while sending continuously: its
// gaps end at once on its own clock, and it says when the place of a word's last tone is heard.
class CLookAheadDevice : public CTimelineDevice {
public:
    using CTimelineDevice::CTimelineDevice;
    bool WaitOnTimeline(std::int64_t) override { return true; }
    void WaitUntilHeard(std::int64_t units) override {
        {
            std::lock_guard lock(mutex);
            heard.push_back(units);
        }
        if (onHeard) {
            onHeard(units);
        }
    }
    std::vector<std::int64_t> Heard() const {
        std::lock_guard lock(mutex);
        return heard;
    }
    std::function<void(std::int64_t)> onHeard;

private:
    mutable std::mutex mutex;
    std::vector<std::int64_t> heard;
};

class LookAhead : public KeyingEngine {
protected:
    void SetUp() override {
        KeyingEngine::SetUp();
        auto ahead = std::make_unique<CLookAheadDevice>(time);
        device = ahead.get();
        ASSERT_TRUE(engine->ReplaceDevice(std::move(ahead), -1));
    }
    CLookAheadDevice* device = nullptr;
};

// A stop made before the word's last tone is heard ends the transmission at that word gap, even
// though the thread got there well ahead of the sound: the end sign follows the first word.
TEST_F(LookAhead, WordGapDecisionsWaitUntilTheWordIsHeard) {
    device->onHeard = [this](std::int64_t) { engine->RequestStop(); };
    Send("EE TT EE", kLetterText);
    CMorseText sent;
    sent.SetText("EE");
    sent.SetKind(kLetterText);
    const auto model = CTransmissionTimeline(sent, 100, 100, 3.0).Tones();
    const auto positions = device->Positions();
    ASSERT_EQ(positions.size(), 1U);
    // The start sign, E, E, then the end sign after the word gap.
    std::vector<CTransmissionTimeline::Tone> expected = model;
    for (std::size_t k = 7; k < expected.size(); ++k) {
        expected[k].startUnits += kWordGap;
    }
    EXPECT_EQ(positions[0], expected);
    // The decision waited for the end of the second E's tone.
    ASSERT_EQ(device->Heard().size(), 1U);
    EXPECT_EQ(device->Heard()[0], model[6].startUnits + model[6].lengthUnits);
}

// Stepping on a device that keeps its own timeline: a step's length on the system clock says
// nothing of the sound, so no step is padded with a wait before the next press.
TEST_F(LookAhead, SteppingIsNeverPaddedAgainstTheSystemClock) {
    Begin("EEE", kLetterText, true);
    for (int press = 0; press < 4; ++press) {
        ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
        engine->Resume();
    }
    ASSERT_TRUE(listener.WaitFinished(1));
    for (const auto& event : time.Events()) {
        EXPECT_NE(event.kind, 'W') << Describe(time.Events());
    }
    EXPECT_EQ(device->Positions().size(), 1U + 3U + 1U);
}

// A device that plays sounds on its timeline, as the sound card does: it records where each
// answer starts and how many samples it has.
class CSpeakingDevice : public CTimelineDevice {
public:
    using CTimelineDevice::CTimelineDevice;
    std::int64_t PlayOnTimeline(std::int64_t startUnits, std::vector<float> samples) override {
        std::lock_guard lock(clipMutex);
        clips.push_back({startUnits, static_cast<std::int32_t>(samples.size())});
        return static_cast<std::int64_t>(samples.size()) * 10000000 / 44100;
    }
    std::vector<CTransmissionTimeline::Tone> Clips() const {
        std::lock_guard lock(clipMutex);
        return clips;
    }

private:
    mutable std::mutex clipMutex;
    std::vector<CTransmissionTimeline::Tone> clips;
};

CMorseText Letters(const char* letters) {
    CMorseText text;
    text.SetText(letters);
    return text;
}

class LiveAnswers : public KeyingEngine {
protected:
    void SetUp() override {
        KeyingEngine::SetUp();
        auto speaking = std::make_unique<CSpeakingDevice>(time);
        device = speaking.get();
        ASSERT_TRUE(engine->ReplaceDevice(std::move(speaking), -1));
        // A tenth of a second for each letter of the word.
        ASSERT_TRUE(engine->SetSpokenAnswers(
            [this](const std::string& word) {
                std::lock_guard lock(mutex);
                said.push_back(word);
                return std::vector<float>(4410 * word.size(), 0.5F);
            },
            kBefore, kAfter));
    }
    std::vector<std::string> Said() {
        std::lock_guard lock(mutex);
        return said;
    }
    static constexpr std::int64_t kBefore = 5000000;
    static constexpr std::int64_t kAfter = 10000000;
    CSpeakingDevice* device = nullptr;
    std::mutex mutex;
    std::vector<std::string> said;
};

// Each word is answered after its last tone, a pause before, and the next word (or the end
// sign) follows the answer a pause after; the tones of each word keep their own spacing. A word
// gap longer than the pause before is kept whole.
TEST_F(LiveAnswers, EachWordIsAnsweredBetweenItsPauses) {
    engine->SetSignSpeed(100);
    engine->SetTextSpeed(100);
    Send("AB CDE", kLetterText);
    EXPECT_EQ(Said(), (std::vector<std::string>{"AB", "CDE"}));
    const auto tones = device->Positions();
    const auto clips = device->Clips();
    ASSERT_EQ(tones.size(), 1U);
    ASSERT_EQ(clips.size(), 2U);
    const auto end = [](const CTransmissionTimeline::Tone& t) {
        return t.startUnits + t.lengthUnits;
    };
    const auto units = [](const CTransmissionTimeline::Tone& clip) {
        return static_cast<std::int64_t>(clip.lengthUnits) * 10000000 / 44100;
    };
    // The start sign has 5 tones, A and B 6, C, D and E 8, the end sign 5.
    ASSERT_EQ(tones[0].size(), 5U + 6U + 8U + 5U);
    EXPECT_EQ(clips[0].startUnits, end(tones[0][10]) + kBefore);
    EXPECT_EQ(clips[0].lengthUnits, 2 * 4410);
    EXPECT_EQ(tones[0][11].startUnits, clips[0].startUnits + units(clips[0]) + kAfter);
    EXPECT_EQ(clips[1].startUnits, end(tones[0][18]) + kBefore);
    EXPECT_EQ(tones[0][19].startUnits, clips[1].startUnits + units(clips[1]) + kAfter);
    // The letters of a word keep the model's spacing.
    const auto model = CTransmissionTimeline(Letters("AB CDE"), 100, 100, 3.0).Tones();
    for (std::size_t k = 12; k <= 18; ++k) {
        EXPECT_EQ(tones[0][k].startUnits - tones[0][11].startUnits,
                  model[k].startUnits - model[11].startUnits);
    }

    // At 20 characters a minute the word gap is longer than the pause before: it stays whole.
    engine->SetTextSpeed(20);
    time.Clear();
    Send("E T", kLetterText);
    const auto slow = device->Positions().back();
    const auto slowModel = CTransmissionTimeline(Letters("E T"), 100, 20, 3.0).Tones();
    const std::int64_t wordGap = slowModel[6].startUnits - end(slowModel[5]);
    ASSERT_GT(wordGap, kBefore);
    ASSERT_EQ(device->Clips().size(), 4U);
    EXPECT_EQ(device->Clips()[2].startUnits, end(slow[5]) + wordGap);
}

// Stepping has no answers, nor has a device that cannot play them: its keying is exactly as
// without.
TEST_F(LiveAnswers, NoneWhenSteppingOrOnADeviceWithoutSound) {
    Begin("EE", kLetterText, true);
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(Eventually([&] { return engine->IsSuspended(); }));
        engine->Resume();
    }
    ASSERT_TRUE(listener.WaitFinished(++transmissions));
    EXPECT_TRUE(device->Clips().empty());

    ASSERT_TRUE(engine->ReplaceDevice(std::make_unique<CTimelineDevice>(time), -1));
    time.Clear();
    Send("AB CD", kLetterText);
    const auto withVoice = time.Events();
    ASSERT_TRUE(engine->SetSpokenAnswers({}, kBefore, kAfter));
    time.Clear();
    Send("AB CD", kLetterText);
    EXPECT_EQ(time.Events(), withVoice);
}

}  // namespace
