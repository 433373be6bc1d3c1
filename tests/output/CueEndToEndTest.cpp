#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "engine/CueSounds.h"
#include "output/CSoundCardCuePlayer.h"
#include "output/MonotonicClock.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"

namespace {

using namespace std::chrono_literals;

// Waits (up to a bound, for a stream that never plays) until the player knows when its last sound
// is heard, and then until that moment has passed.
std::int64_t WaitUntilHeard(const CSoundCardCuePlayer& player) {
    for (int k = 0; k < 500 && player.HeardEndNanoseconds() == 0; ++k) {
        std::this_thread::sleep_for(10ms);
    }
    const std::int64_t end = player.HeardEndNanoseconds();
    SleepUntilNanoseconds(end + 100'000'000);
    return end;
}

// A callsign and then the wrong answer's tone through the cue player into a private sound server:
// the recording decodes to the callsign, the low tone follows, and the moments the player gives
// for the end of each sound come in order, after they were queued.
TEST(CueEndToEnd, PlayedSoundsAreHeardAndTheirEndsAreKnown) {
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (sink == nullptr) {
        GTEST_SKIP() << "runs under scripts/with-pulse, which provides a private sound server";
    }
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("recording.raw"));
    ASSERT_TRUE(recorder.Started());
    std::this_thread::sleep_for(300ms);

    CSoundCardCuePlayer player;
    ASSERT_TRUE(player.Open());
    EXPECT_EQ(player.HeardEndNanoseconds(), 0);
    std::this_thread::sleep_for(300ms);
    const std::int64_t queuedAt = MonotonicNanoseconds();
    ASSERT_TRUE(player.Play(cuesounds::RenderText("OK1ABC", 150, 150, 700, 3.0, 0.7F)));
    const std::int64_t callsignEnd = WaitUntilHeard(player);
    ASSERT_GT(callsignEnd, queuedAt);
    ASSERT_TRUE(player.Play(cuesounds::WrongAnswerTone(0.7F)));
    const std::int64_t toneEnd = WaitUntilHeard(player);
    EXPECT_GT(toneEnd, callsignEnd);
    std::printf("stream latency %.1f ms, underruns %llu\n",
                std::chrono::duration<double, std::milli>(player.StreamLatency()).count(),
                static_cast<unsigned long long>(player.Underruns()));
    std::this_thread::sleep_for(300ms);
    const std::vector<float> samples = recorder.Stop();
    EXPECT_EQ(CToneDecoder::Decode(CToneDecoder(700, 44100).FindElements(samples)), "OK1ABC");
    EXPECT_EQ(CToneDecoder(cuesounds::kWrongToneHz, 44100).FindElements(samples).size(), 1U);
}

}  // namespace
