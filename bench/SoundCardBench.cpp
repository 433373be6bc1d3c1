// The sound-card path end to end: the keying engine keys a generated text through
// CSoundCardOutput into a sound server whose output is recorded; every element found in the
// recording is compared with what the engine asked for. Run under scripts/with-pulse.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/Statistics.h"
#include "engine/CKeyingEngine.h"
#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"
#include "output/MonotonicClock.h"
#include "output/OutputKind.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"

namespace {

constexpr double kRate = CToneRenderer::kSampleRate;
constexpr int kTone = 600;

// Passes every Key on to the sound card and notes when it was called and for how long.
class CTimedDevice : public COutputDevice {
public:
    struct Call {
        std::int64_t at;
        std::int32_t units;
    };
    explicit CTimedDevice(std::unique_ptr<CSoundCardOutput> card) : soundCard(std::move(card)) {
        calls.reserve(8192);
    }
    void Key(std::int32_t units) override {
        calls.push_back({MonotonicNanoseconds(), units});
        soundCard->Key(units);
    }
    void SetTone(std::int32_t hz) override { soundCard->SetTone(hz); }
    CSoundCardOutput& Card() { return *soundCard; }
    std::vector<Call> calls;

private:
    std::unique_ptr<CSoundCardOutput> soundCard;
};

void Run(const char* sink, int signSpeed, int textSpeed, std::size_t characters) {
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("r.raw"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string text =
        CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 11).substr(0, characters);
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kLetterText);

    CFinishListener listener;
    auto timed = std::make_unique<CTimedDevice>(std::make_unique<CSoundCardOutput>());
    CTimedDevice& device = *timed;
    CKeyingEngine engine(&listener);
    engine.ReplaceDevice(std::move(timed), kSoundCardOutput);
    // As in the program, the output has been open for a while when Start is pressed.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    engine.SetSignSpeed(signSpeed);
    engine.SetTextSpeed(textSpeed);
    engine.SetToneFrequency(kTone);
    engine.SetText(morse);
    engine.Start(morse.FormatLines(), false);
    listener.WaitFor(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto elements = CToneDecoder(kTone, kRate).FindElements(recorder.Stop());
    const auto& calls = device.calls;

    std::printf("\n%d/%d, %zu characters: %zu keyed, %zu found in the recording\n", signSpeed,
                textSpeed, text.size(), calls.size(), elements.size());
    std::printf("underruns %llu, ", static_cast<unsigned long long>(device.Card().Underruns()));
    std::printf("lead %.2f ms, heard %.2f ms after Key, late events %llu\n",
                std::chrono::duration<double, std::milli>(device.Card().Lead()).count(),
                std::chrono::duration<double, std::milli>(device.Card().OutputLatency()).count(),
                static_cast<unsigned long long>(device.Card().LateEvents()));
    if (elements.size() != calls.size()) {
        std::printf("element counts differ; no figures\n");
        return;
    }
    // The sink's clock and the system's differ slightly; the recording's true rate comes from a
    // straight-line fit of the onsets against the moments of Key, and is reported.
    double sumX = 0;
    double sumY = 0;
    double sumXX = 0;
    double sumXY = 0;
    const auto count = static_cast<double>(calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const double x = static_cast<double>(calls[i].at - calls[0].at) / 1e9;
        const double y = elements[i].onset - elements[0].onset;
        sumX += x;
        sumY += y;
        sumXX += x * x;
        sumXY += x * y;
    }
    const double rate = (count * sumXY - sumX * sumY) / (count * sumXX - sumX * sumX);
    const double offset = (sumY - rate * sumX) / count;
    std::printf("recording clock %+.1f ppm against the system clock\n", (rate / kRate - 1) * 1e6);
    std::vector<double> lengths;
    std::vector<double> gaps;
    std::vector<double> onsets;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const double expected = static_cast<double>(CSoundCardOutput::SamplesFor(calls[i].units));
        lengths.push_back(elements[i].end - elements[i].onset - expected);
        const double keyed = static_cast<double>(calls[i].at - calls[0].at) / 1e9;
        const double heard = elements[i].onset - elements[0].onset;
        onsets.push_back((heard - (offset + rate * keyed)) / rate * 1e6);
        if (i + 1 < calls.size()) {
            const double keyedGap =
                static_cast<double>(calls[i + 1].at - calls[i].at) / 1000.0 - calls[i].units / 10.0;
            const double heardGap = (elements[i + 1].onset - elements[i].end) / rate * 1e6;
            gaps.push_back(heardGap - keyedGap);
        }
    }
    PrintSummary("element length error", Summarize(lengths), "samples");
    PrintSummary("gap error", Summarize(gaps), "us");
    PrintSummary("onset error", Summarize(onsets), "us");
}

// What the callback costs: rendering a second of keyed dots offline, as the callback would.
void RenderCost() {
    CToneRenderer renderer;
    std::vector<float> buffer(441);
    const auto start = std::chrono::steady_clock::now();
    const int seconds = 60;
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < 16; ++i) {
            renderer.Push({static_cast<std::int64_t>(s * 44100 + i * 2646 + 500), 1323, 600.0F});
        }
        for (int b = 0; b < 100; ++b) {
            renderer.Render(buffer.data(), buffer.size(),
                            static_cast<std::int64_t>(s * 44100 + b * 441));
        }
    }
    const double elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("\naudio callback: %.3f ms of CPU per second of sound (%.3f %%)\n",
                elapsed / seconds, elapsed / seconds / 10.0);
}

}  // namespace

int main(int argc, char** argv) {
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    RenderCost();
    if (sink == nullptr) {
        std::printf("run under scripts/with-pulse for the end-to-end figures\n");
        return 0;
    }
    const std::size_t characters = argc > 1 ? std::stoul(argv[1]) : 300;
    Run(sink, 200, 200, characters);
    Run(sink, 100, 60, characters);
    return 0;
}
