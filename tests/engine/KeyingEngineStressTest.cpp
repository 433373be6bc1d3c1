#include <dirent.h>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <random>
#include <thread>

#include "core/Timing.h"
#include "engine/CKeyingEngine.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CVirtualTime.h"

namespace {

using namespace std::chrono_literals;

int ThreadCount() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks)) {
            count += entry->d_name[0] != '.' ? 1 : 0;
        }
        closedir(tasks);
    }
    return count;
}

// The last ten calls of a transmission are the five elements of the end sign with their gaps,
// after a gap of the text: K W K W K W K W K W, preceded by a W.
bool EndsWithEndSign(const std::vector<CVirtualTime::Event>& events) {
    std::vector<char> calls;
    for (const auto& event : events) {
        if (event.kind != 'T') {
            calls.push_back(event.kind);
        }
    }
    if (calls.size() < 11) {
        return false;
    }
    for (std::size_t i = 0; i < 10; ++i) {
        if (calls[calls.size() - 10 + i] != (i % 2 == 0 ? 'K' : 'W')) {
            return false;
        }
    }
    return calls[calls.size() - 11] == 'W';
}

// Start, pause, resume, step, stop and speed, tone and ratio changes from another thread at
// random moments, over a thousand transmissions: every one ends with the end sign, none hangs,
// and no thread is left behind.
TEST(KeyingEngineStress, RandomControlFromAnotherThread) {
    // Sanitizer runtimes start a helper thread soon after the first thread; count once it runs.
    std::thread([] {}).join();
    std::this_thread::sleep_for(200ms);
    const int threadsBefore = ThreadCount();
    std::mt19937 random(7);
    CVirtualTime time;
    CFinishListener listener;
    // Each Key and Wait yields, so that the controller's calls land inside transmissions.
    time.SetHook([](std::size_t call) {
        if (call % 4 == 0) {
            std::this_thread::yield();
        }
    });
    {
        CKeyingEngine engine(&listener, std::make_unique<CFakeTimeSource>(time),
                             std::make_unique<CNoPriorityChange>());
        ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CRecordingDevice>(time), -1));
        const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.?";
        for (int n = 1; n <= 1000; ++n) {
            time.Clear();
            CMorseText text;
            std::string s;
            const std::size_t length = random() % 24;
            for (std::size_t i = 0; i < length; ++i) {
                s.push_back(alphabet[random() % alphabet.size()]);
            }
            text.SetText(s);
            text.SetKind(static_cast<int>(random() % 5));
            engine.SetText(text);
            const bool stepping = random() % 3 == 0;
            ASSERT_TRUE(engine.Start(text.FormatLines(), stepping));

            bool paused = false;
            int operations = 0;
            while (!listener.WaitFor(n, 0ms)) {
                ASSERT_LT(operations, 20000) << "transmission " << n << " does not end";
                ++operations;
                const bool insist = operations > 200;
                switch (insist ? 1 : random() % 9) {
                    case 0:
                        if (!stepping) {
                            if (paused) {
                                engine.Resume();
                            }
                            paused = !paused;
                            engine.RequestPause(paused);
                        }
                        break;
                    case 1:
                        engine.RequestStop();
                        if (paused || stepping) {
                            engine.Resume();
                        }
                        paused = false;
                        break;
                    case 2:
                    case 3:
                        if (stepping) {
                            engine.Resume();
                        }
                        break;
                    case 4:
                        engine.SetTextSpeed(kTextSpeeds[random() % kTextSpeeds.size()]);
                        break;
                    case 5:
                        engine.SetSignSpeed(kSignSpeeds[random() % kSignSpeeds.size()]);
                        break;
                    case 6:
                        engine.SetToneFrequency(
                            kToneFrequencies[random() % kToneFrequencies.size()]);
                        break;
                    case 7:
                        engine.SetDashRatio(kDashRatios[random() % kDashRatios.size()]);
                        break;
                    default:
                        std::this_thread::sleep_for(20us);
                        break;
                }
            }
            ASSERT_TRUE(EndsWithEndSign(time.Events()))
                << "transmission " << n << ": " << Describe(time.Events());
            ASSERT_FALSE(engine.IsSending());
        }
    }
    EXPECT_EQ(ThreadCount(), threadsBefore);
}

}  // namespace
