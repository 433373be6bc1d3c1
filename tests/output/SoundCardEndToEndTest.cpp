#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "core/OutputKind.h"
#include "engine/CKeyingEngine.h"
#include "output/CSoundCardOutput.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"

namespace {

using namespace std::chrono_literals;

// Sends what this process writes to its standard error to a file while it lives.
class CStandardErrorCapture {
public:
    explicit CStandardErrorCapture(const std::string& path) : file(path) {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int target = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(target, STDERR_FILENO);
        close(target);
    }
    ~CStandardErrorCapture() { Release(); }
    CStandardErrorCapture(const CStandardErrorCapture&) = delete;
    CStandardErrorCapture& operator=(const CStandardErrorCapture&) = delete;
    // Restores the standard error and returns what was written meanwhile.
    std::string Release() {
        if (saved >= 0) {
            std::fflush(stderr);
            dup2(saved, STDERR_FILENO);
            close(saved);
            saved = -1;
        }
        std::ifstream in(file);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string file;
    int saved = -1;
};

// Keys a generated text through the keying engine and the sound card into a private sound
// server, records what the server played, and decodes it again by ear, as it were.
TEST(SoundCardEndToEnd, RecordedToneDecodesToTheKeyedText) {
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (sink == nullptr) {
        GTEST_SKIP() << "runs under scripts/with-pulse, which provides a private sound server";
    }
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("recording.raw"));
    ASSERT_TRUE(recorder.Started());
    std::this_thread::sleep_for(300ms);

    // Four groups of cipher text: letters and digits.
    const std::string text =
        CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", kCipherText, 99).substr(0, 23);
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kCipherText);

    CFinishListener listener;
    // Opening the sound card and sending prints nothing on the terminal: the sound libraries'
    // probing of absent devices and servers stays quiet.
    CStandardErrorCapture terminal(folder.File("stderr.txt"));
    {
        CKeyingEngine engine(&listener);
        ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput));
        ASSERT_TRUE(engine.Device().IsOpen());
        engine.SetSignSpeed(120);
        engine.SetTextSpeed(120);
        engine.SetToneFrequency(700);
        engine.SetText(morse);
        ASSERT_TRUE(engine.Start(morse.FormatLines(), false));
        ASSERT_TRUE(listener.WaitFor(1));
        std::this_thread::sleep_for(300ms);
        const auto* card = dynamic_cast<CSoundCardOutput*>(&engine.Device());
        ASSERT_NE(card, nullptr);
        std::printf("lead %.2f ms, late events %llu, underruns %llu\n",
                    std::chrono::duration<double, std::milli>(card->Lead()).count(),
                    static_cast<unsigned long long>(card->LateEvents()),
                    static_cast<unsigned long long>(card->Underruns()));
    }
    EXPECT_EQ(terminal.Release(), "");
    const std::vector<float> samples = recorder.Stop();
    ASSERT_GT(samples.size(), 44100u);
    const CToneDecoder decoder(700, 44100);
    const std::string decoded = CToneDecoder::Decode(decoder.FindElements(samples));
    EXPECT_EQ(decoded, "= " + text + "+");
}

// Reports every change of the sent marking.
class CMarkingListener : public CFinishListener {
public:
    void SentTextChanged(const std::string& sent) override {
        if (onMarked) {
            onMarked(sent);
        }
    }
    std::function<void(const std::string&)> onMarked;
};

// A pause asked for while a word is heard takes effect at its word gap, although the sound card
// keys well ahead of the sound; resumed at once, the next word still waits out the whole gap.
TEST(SoundCardEndToEnd, PauseAtTheWordGapNotYetHeardKeepsTheWholeGap) {
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (sink == nullptr) {
        GTEST_SKIP() << "runs under scripts/with-pulse, which provides a private sound server";
    }
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("pause.raw"), 100);
    ASSERT_TRUE(recorder.Started());
    std::this_thread::sleep_for(300ms);
    CMorseText morse;
    morse.SetText("TEST TEST");
    morse.SetKind(kLetterText);
    CMarkingListener listener;
    CKeyingEngine engine(&listener);
    ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput));
    engine.SetSignSpeed(200);
    engine.SetTextSpeed(200);
    engine.SetToneFrequency(700);
    engine.SetText(morse);
    // The marking of the first word's E is heard well before the word's last tone.
    listener.onMarked = [&engine](const std::string& sent) {
        if (sent == "TE") {
            engine.RequestPause(true);
        }
    };
    ASSERT_TRUE(engine.Start(morse.FormatLines(), false));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!engine.IsSuspended() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    ASSERT_TRUE(engine.IsSuspended());
    engine.RequestPause(false);
    engine.Resume();
    ASSERT_TRUE(listener.WaitFor(1));
    std::this_thread::sleep_for(300ms);
    const auto elements = CToneDecoder(700, 44100).FindElements(recorder.Stop());
    // The start sign's five elements, then T E S T: the word's last tone is element 10.
    ASSERT_EQ(CToneDecoder::Decode(elements), "= TEST TEST+");
    const double gapMilliseconds = (elements[11].onset - elements[10].end) / 44.1;
    EXPECT_GE(gapMilliseconds, 7 * 30.0 - 0.1);
}

// The sound server goes away in the middle of a transmission: the transmission ends at once,
// saying so, and the marking stops where the sound did. The next transmission, with no server at
// all, cannot start its sound and ends at once too. When the server is back, the transmission
// after that opens a new stream and is heard again. Runs last, since it ends the server.
TEST(SoundCardEndToEnd, LosingTheServerEndsTheTransmissionAndTheReturnIsHeard) {
    const char* server = std::getenv("BRUMLO_TEST_SERVER_PID");
    const char* startServer = std::getenv("BRUMLO_TEST_START_SERVER");
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (server == nullptr || startServer == nullptr || sink == nullptr) {
        GTEST_SKIP() << "runs under scripts/with-pulse, which provides a private sound server";
    }
    CMorseText morse;
    morse.SetText("PARIS PARIS PARIS");
    morse.SetKind(kLetterText);
    CFinishListener listener;
    CKeyingEngine engine(&listener);
    ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput));
    auto& card = dynamic_cast<CSoundCardOutput&>(engine.Device());
    engine.SetSignSpeed(200);
    engine.SetTextSpeed(200);
    engine.SetText(morse);
    ASSERT_TRUE(engine.Start(morse.FormatLines(), false));
    std::this_thread::sleep_for(1500ms);
    const auto killed = std::chrono::steady_clock::now();
    kill(static_cast<pid_t>(std::atoi(server)), SIGKILL);
    ASSERT_TRUE(listener.WaitFor(1));
    // The send thread keys two seconds ahead of the sound; the end comes well before that.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - killed).count(),
              0.5);
    EXPECT_EQ(engine.Failure().fault, OutputFault::kSoundStopped);
    // 1.5 s into the transmission: the start sign and part of the first word were heard, and
    // nothing keyed ahead of the sound is marked.
    const std::string sent = listener.LastSent();
    EXPECT_GT(sent.size(), 0U);
    EXPECT_LT(sent.size(), std::string("PARIS P").size()) << sent;

    // No server: the stream cannot be opened again, and the transmission ends at once.
    ASSERT_TRUE(engine.Start(morse.FormatLines(), false));
    ASSERT_TRUE(listener.WaitFor(2));
    EXPECT_EQ(engine.Failure().fault, OutputFault::kSoundUnavailable);
    EXPECT_EQ(card.Reopenings(), 0);

    // The server is back: the next transmission opens a new stream and is heard whole.
    ASSERT_EQ(std::system(startServer), 0);
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("back.raw"));
    ASSERT_TRUE(recorder.Started());
    std::this_thread::sleep_for(300ms);
    engine.SetToneFrequency(700);
    ASSERT_TRUE(engine.Start(morse.FormatLines(), false));
    ASSERT_TRUE(listener.WaitFor(3));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(card.Reopenings(), 1);
    EXPECT_FALSE(engine.Failure());
    const CToneDecoder decoder(700, 44100);
    EXPECT_EQ(CToneDecoder::Decode(decoder.FindElements(recorder.Stop())), "= PARIS PARIS PARIS+");
}

}  // namespace
