// The sound card end to end against the timing model: the keying engine keys a generated text
// through CSoundCardOutput into a private sound server whose output is recorded; every element
// found in the recording is compared, in the recording's own samples, with the model's timeline:
// element lengths, gaps, and onsets counted from the first one over the whole text. Also how the
// marking of the text keeps with the sound, and what a step press waits to be heard. Run under
// scripts/with-pulse.
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/ModelTimeline.h"
#include "bench/Statistics.h"
#include "core/CMorseTable.h"
#include "engine/CKeyingEngine.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
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

double Samples(std::int64_t units) {
    return static_cast<double>(units) * kRate / 1e7;
}

// How fast the sound server really plays, in samples per second of the system clock: the growth
// of the recording over time, fitted by a straight line. Independent of the program under test.
class CRecordingRate {
public:
    explicit CRecordingRate(const std::string& path)
        : sampler([this, path] {
              while (!stop) {
                  struct stat info {};
                  if (stat(path.c_str(), &info) == 0 && info.st_size > 0) {
                      std::lock_guard lock(mutex);
                      points.push_back({static_cast<double>(MonotonicNanoseconds()) / 1e9,
                                        static_cast<double>(info.st_size) / sizeof(float)});
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(100));
              }
          }) {}
    ~CRecordingRate() {
        stop = true;
        sampler.join();
    }
    CRecordingRate(const CRecordingRate&) = delete;
    CRecordingRate& operator=(const CRecordingRate&) = delete;
    double SamplesPerSecond() {
        std::lock_guard lock(mutex);
        double sx = 0, sy = 0, sxx = 0, sxy = 0;
        const auto n = static_cast<double>(points.size());
        for (const auto& [x, y] : points) {
            sx += x;
            sy += y;
            sxx += x * x;
            sxy += x * y;
        }
        return n < 2 ? kRate : (n * sxy - sx * sy) / (n * sxx - sx * sx);
    }

private:
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::vector<std::pair<double, double>> points;
    std::thread sampler;
};

// Notes the moment of every progress report: when the marking of a character was sent on.
class CMarkingListener : public CFinishListener {
public:
    void SentTextChanged(const std::string& sent) override {
        std::lock_guard lock(mutex);
        reports.push_back({MonotonicNanoseconds(), sent.size()});
    }
    struct Report {
        std::int64_t at;
        std::size_t length;
    };
    std::vector<Report> Reports() {
        std::lock_guard lock(mutex);
        return reports;
    }

private:
    std::mutex mutex;
    std::vector<Report> reports;
};

void Run(const char* sink, int signSpeed, int textSpeed, std::size_t characters) {
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("r.raw"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CRecordingRate recordingRate(recorder.Path());
    std::string text = CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", kLetterText, 11);
    while (text.size() < characters) {
        text += text;
    }
    text = text.substr(0, characters);
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kLetterText);

    CMarkingListener listener;
    CKeyingEngine engine(&listener);
    engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput);
    auto& card = dynamic_cast<CSoundCardOutput&>(engine.Device());
    // As in the program, the output has been open for a while when Start is pressed.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    engine.SetSignSpeed(signSpeed);
    engine.SetTextSpeed(textSpeed);
    engine.SetToneFrequency(kTone);
    engine.SetText(morse);
    engine.Start(morse.FormatLines(), false);
    listener.WaitFor(1, std::chrono::minutes(30));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double playedRate = recordingRate.SamplesPerSecond();
    const auto elements = CToneDecoder(kTone, kRate).FindElements(recorder.Stop());
    const std::vector<ModelElement> model = ModelTimeline(text, signSpeed, textSpeed, 3.0);

    const double duration = Samples(model.back().startUnits + model.back().lengthUnits) / kRate;
    std::printf(
        "\n%d/%d, %zu characters (%.1f s): model %zu elements, %zu found in the "
        "recording\n",
        signSpeed, textSpeed, text.size(), duration, model.size(), elements.size());
    std::printf(
        "underruns %llu, late events %llu, lead %.2f ms, sound %.2f ms after the "
        "thread (lead and stream latency)\n",
        static_cast<unsigned long long>(card.Underruns()),
        static_cast<unsigned long long>(card.LateEvents()),
        std::chrono::duration<double, std::milli>(card.Lead()).count(),
        std::chrono::duration<double, std::milli>(card.OutputLatency()).count());
    if (elements.size() != model.size()) {
        std::printf("element counts differ; no figures\n");
        return;
    }
    std::vector<double> lengths;
    std::vector<double> gaps;
    std::vector<double> onsets;
    const double firstModel = Samples(model[0].startUnits);
    for (std::size_t i = 0; i < model.size(); ++i) {
        lengths.push_back(elements[i].end - elements[i].onset - Samples(model[i].lengthUnits));
        const double modelOnset = Samples(model[i].startUnits) - firstModel;
        onsets.push_back((elements[i].onset - elements[0].onset - modelOnset) / kRate * 1e3);
        if (i + 1 < model.size()) {
            const double modelGap =
                Samples(model[i + 1].startUnits - model[i].startUnits - model[i].lengthUnits);
            gaps.push_back(elements[i + 1].onset - elements[i].end - modelGap);
        }
    }
    PrintSummary("element length error", Summarize(lengths), "samples (goal: within 1)");
    PrintSummary("gap error", Summarize(gaps), "samples (goal: within 1)");
    PrintSummary("onset error", Summarize(onsets), "ms from the model (goal: within 1)");

    // The marking: each character's report against the end of its last element in the sound,
    // on the system clock by the rate the server really played at. The recorder adds a constant
    // delay of its own, so the spread is what tells.
    std::printf("the sound server plays %+.0f ppm against the system clock\n",
                (playedRate / kRate - 1) * 1e6);
    std::vector<double> marking;
    const auto reports = listener.Reports();
    const double displayDelay = static_cast<double>(card.OutputLatency().count());
    std::size_t element = 0;
    for (std::size_t c = 0, report = 0; c < text.size() && report < reports.size(); ++c) {
        if (text[c] == ' ') {
            ++report;
            continue;
        }
        element += CMorseTable::CodeOf(text[c], false).size();
        if (element + 5 > elements.size()) {
            break;
        }
        // Elements before: the start sign's five, then this character's.
        const double soundEnd = elements[element + 4].end / playedRate * 1e9;
        marking.push_back((static_cast<double>(reports[report].at) + displayDelay - soundEnd) /
                          1e6);
        ++report;
    }
    if (!marking.empty()) {
        const Summary summary = Summarize(marking);
        std::printf(
            "marking against its sound: spread %.2f ms over the text (goal: within 20 ms)\n",
            summary.maximum - summary.minimum);
    }
}

// A step press: how long the thread takes to begin the character, and the spread of the time
// from press to onset in the recording (whose own delay is constant).
void Steps(const char* sink) {
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("s.raw"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CRecordingRate recordingRate(recorder.Path());
    CMorseText morse;
    morse.SetText("EEEEEEEEEEEEEEEEEEEE");
    morse.SetKind(kLetterText);
    CFinishListener listener;
    CKeyingEngine engine(&listener);
    engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput);
    auto& card = dynamic_cast<CSoundCardOutput&>(engine.Device());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    engine.SetToneFrequency(kTone);
    engine.SetText(morse);
    engine.Start(morse.FormatLines(), true);
    std::vector<std::int64_t> presses;
    for (int press = 0; press <= 20; ++press) {
        while (!engine.IsSuspended()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(300 + 37 * (press % 5)));
        presses.push_back(MonotonicNanoseconds());
        engine.Resume();
    }
    listener.WaitFor(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const double playedRate = recordingRate.SamplesPerSecond();
    const auto elements = CToneDecoder(kTone, kRate).FindElements(recorder.Stop());
    std::printf("\nstepping: %zu presses, %zu elements found (start sign 5, 20 E, end sign 5)\n",
                presses.size(), elements.size());
    std::printf("a press is heard %.2f ms later (lead and stream latency); underruns %llu\n",
                std::chrono::duration<double, std::milli>(card.OutputLatency()).count(),
                static_cast<unsigned long long>(card.Underruns()));
    if (elements.size() != 30) {
        return;
    }
    std::vector<double> delay;
    for (std::size_t k = 0; k < 20; ++k) {
        delay.push_back(elements[5 + k].onset / playedRate * 1e3 -
                        static_cast<double>(presses[k]) / 1e6);
    }
    const Summary summary = Summarize(delay);
    std::printf("press to onset: spread %.2f ms over 20 presses\n",
                summary.maximum - summary.minimum);
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
    std::printf("audio callback: %.3f ms of CPU per second of sound (%.3f %%)\n", elapsed / seconds,
                elapsed / seconds / 10.0);
}

// A sound file of 300 characters: how long the offline rendering takes.
void SoundFileCost() {
    CMorseText morse;
    morse.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", kMixedText, 3));
    morse.SetKind(kMixedText);
    const CTransmissionTimeline timeline(morse, 100, 60, 3.0);
    std::vector<double> times;
    std::size_t bytes = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = std::chrono::steady_clock::now();
        bytes = soundfile::RenderWav(timeline, 600, 1.0F).size();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::printf("sound file of %zu characters (%.1f s of sound, %zu bytes)\n",
                morse.GetText().size(), static_cast<double>(timeline.EndUnits()) / 1e7, bytes);
    PrintSummary("rendered in", Summarize(times), "ms (goal: well under a second)");
}

}  // namespace

// Arguments: the number of characters (300), and "long" for the slowest text speed as well: 300
// characters at text speed 20 last about a quarter of an hour.
int main(int argc, char** argv) {
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    RenderCost();
    SoundFileCost();
    if (sink == nullptr) {
        std::printf("run under scripts/with-pulse for the end-to-end figures\n");
        return 0;
    }
    const std::size_t characters = argc > 1 ? std::stoul(argv[1]) : 300;
    Run(sink, 200, 200, characters);
    Run(sink, 100, 60, characters);
    Steps(sink);
    if (argc > 2 && std::string(argv[2]) == "long") {
        Run(sink, 100, 20, characters);
    }
    return 0;
}
