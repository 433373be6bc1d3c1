// The sound card end to end against the timing model: the keying engine keys a generated text
// through CSoundCardOutput into a private sound server whose output is recorded; every element
// found in the recording is compared, in the recording's own samples, with the model's timeline:
// element lengths, gaps, and onsets counted from the first one over the whole text. Also how the
// marking of the text keeps with the sound, and what a step press waits to be heard. Run under
// scripts/with-pulse.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <memory>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/EverythingOn.h"
#include "bench/LoadConditions.h"
#include "bench/ModelTimeline.h"
#include "bench/Statistics.h"
#include "core/CMorseTable.h"
#include "core/OutputKind.h"
#include "engine/CKeyingEngine.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"
#include "output/MonotonicClock.h"
#include "output/RealtimeScheduling.h"
#include "tests/support/CFinishListener.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CToneDecoder.h"
#include "tests/support/SendingTimelines.h"

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
    explicit CRecordingRate(const std::string& path,
                            std::chrono::milliseconds period = std::chrono::milliseconds(100))
        : sampler([this, path, period] {
              while (!stop) {
                  struct stat info {};
                  if (stat(path.c_str(), &info) == 0 && info.st_size > 0) {
                      std::lock_guard lock(mutex);
                      points.push_back({static_cast<double>(MonotonicNanoseconds()) / 1e9,
                                        static_cast<double>(info.st_size) / sizeof(float)});
                  }
                  std::this_thread::sleep_for(period);
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
    // The earliest moment, in seconds of the system clock, at which the recording could hold its
    // sample 0, at `rate` samples a second: sample k was in the file no later than this plus
    // k / rate.
    double EarliestOriginSeconds(double rate) {
        std::lock_guard lock(mutex);
        double origin = 1e18;
        for (const auto& [x, y] : points) {
            origin = std::min(origin, x - y / rate);
        }
        return origin;
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

LoadConditions conditions;

std::string WithoutSpaces(const std::string& text) {
    std::string result;
    for (const char c : text) {
        if (c != ' ') {
            result += c;
        }
    }
    return result;
}

// The characters heard wrong: the edit distance between what was sent and what the recording
// decodes to, spaces aside (at a slow text speed every character gap is as long as a word gap).
std::size_t CharactersWrong(const std::string& sent, const std::string& heard) {
    return EditDistance(sent, heard);
}

std::string Text(std::size_t characters, bool mixed, unsigned seed) {
    const char* set = mixed ? "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789" : "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text;
    while (text.size() < characters) {
        text += CMorseText::Generate(set, mixed ? kMixedText : kLetterText, seed++);
        text += ' ';
    }
    text = text.substr(0, characters);
    if (!text.empty() && text.back() == ' ') {
        text.back() = 'E';
    }
    return text;
}

// The onsets' error against the model, window by window over the text, and every jump between
// two successive onsets: where the sound's timeline moved, and by how much.
void PrintOnsetsOverTime(const std::vector<double>& onsetSeconds,
                         const std::vector<double>& onsets) {
    constexpr double kWindowSeconds = 60.0;
    constexpr double kJumpMilliseconds = 0.5;
    double windowStart = 0.0;
    double low = 1e9;
    double high = -1e9;
    std::printf("onset error over time (ms from the model, min..max per minute):");
    for (std::size_t i = 0; i <= onsets.size(); ++i) {
        if (i == onsets.size() || onsetSeconds[i] >= windowStart + kWindowSeconds) {
            if (low <= high) {
                std::printf(" [%.0f s] %+.2f..%+.2f", windowStart, low, high);
            }
            if (i == onsets.size()) {
                break;
            }
            windowStart +=
                kWindowSeconds * std::floor((onsetSeconds[i] - windowStart) / kWindowSeconds);
            low = 1e9;
            high = -1e9;
        }
        low = std::min(low, onsets[i]);
        high = std::max(high, onsets[i]);
    }
    std::printf("\n");
    int jumps = 0;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        if (std::abs(onsets[i] - onsets[i - 1]) > kJumpMilliseconds) {
            if (jumps < 10) {
                std::printf("  jump of %+.2f ms at %.1f s\n", onsets[i] - onsets[i - 1],
                            onsetSeconds[i]);
            }
            ++jumps;
        }
    }
    std::printf("jumps between successive onsets over %.1f ms: %d\n", kJumpMilliseconds, jumps);
}

void Run(const char* sink, int signSpeed, int textSpeed, std::size_t characters) {
    CTemporaryFolder folder;
    const bool root = geteuid() == 0;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("r.raw"), 250, root);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CRecordingRate recordingRate(recorder.Path());
    const std::string text = Text(characters, true, 11);
    CMorseText morse;
    morse.SetText(text);
    morse.SetKind(kMixedText);

    CMarkingListener listener;
    CKeyingEngine engine(&listener);
    const long serverUnderrunsBefore = ServerUnderruns();
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
        "\n%d/%d, %zu mixed characters (%.1f s)%s%s: model %zu elements, %zu found in "
        "the recording\n",
        signSpeed, textSpeed, text.size(), duration,
        conditions.desktop ? ", desktop load"
        : conditions.busy  ? ", busy machine"
                           : ", idle machine",
        conditions.withoutRealtimeRight ? ", without the right to real time" : "", model.size(),
        elements.size());
    const char* grant = card.AudioThreadGrant() == RealtimeGrant::Kernel        ? "kernel"
                        : card.AudioThreadGrant() == RealtimeGrant::RealtimeKit ? "RealtimeKit"
                                                                                : "refused";
    std::printf(
        "underruns in the sound server's log: %ld (goal: 0); reported to the stream: %llu\n",
        ServerUnderruns() - serverUnderrunsBefore,
        static_cast<unsigned long long>(card.Underruns()));
    std::printf(
        "%s; late events %llu; lead %.2f ms, look-ahead %.0f ms, stream latency "
        "%.2f ms; audio thread real time: %s\n",
        card.OnSoundServer() ? "the sound server's own stream" : "PortAudio",
        static_cast<unsigned long long>(card.LateEvents()),
        std::chrono::duration<double, std::milli>(card.Lead()).count(),
        static_cast<double>(card.OnSoundServer() ? CSoundCardOutput::kServerLookAheadNanoseconds
                                                 : CSoundCardOutput::kLookAheadNanoseconds) /
            1e6,
        std::chrono::duration<double, std::milli>(card.StreamLatency()).count(), grant);
    std::string sent(1, CTransmissionTimeline::kStartSign);
    sent += WithoutSpaces(text);
    sent += CTransmissionTimeline::kEndSign;
    const std::string heard =
        WithoutSpaces(CToneDecoder::Decode(elements, Samples(model.front().lengthUnits) / 3.0));
    std::printf("characters heard wrong: %zu of %zu (goal: 0)\n", CharactersWrong(sent, heard),
                sent.size());
    if (elements.size() != model.size()) {
        std::printf("element counts differ; no element figures\n");
        return;
    }
    std::vector<double> lengths;
    std::vector<double> gaps;
    std::vector<double> onsets;
    std::vector<double> onsetSeconds;
    const double firstModel = Samples(model[0].startUnits);
    for (std::size_t i = 0; i < model.size(); ++i) {
        lengths.push_back(elements[i].end - elements[i].onset - Samples(model[i].lengthUnits));
        const double modelOnset = Samples(model[i].startUnits) - firstModel;
        onsets.push_back((elements[i].onset - elements[0].onset - modelOnset) / kRate * 1e3);
        onsetSeconds.push_back(modelOnset / kRate);
        if (i + 1 < model.size()) {
            const double modelGap =
                Samples(model[i + 1].startUnits - model[i].startUnits - model[i].lengthUnits);
            gaps.push_back(elements[i + 1].onset - elements[i].end - modelGap);
        }
    }
    PrintSummary("element length error", Summarize(lengths), "samples (goal: within 1)");
    PrintSummary("gap error", Summarize(gaps), "samples (goal: within 1)");
    PrintSummary("onset error", Summarize(onsets), "ms from the model (goal: within 1)");
    PrintOnsetsOverTime(onsetSeconds, onsets);

    // The marking: each character's report against the end of its last element in the sound,
    // on the system clock by the rate the server really played at. The recorder adds a constant
    // delay of its own, so the spread is what tells.
    std::printf("the sound server plays %+.0f ppm against the system clock\n",
                (playedRate / kRate - 1) * 1e6);
    std::vector<double> marking;
    const auto reports = listener.Reports();
    std::size_t element = 0;
    std::size_t report = 0;
    for (std::size_t c = 0; c < text.size() && report < reports.size(); ++c) {
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
        marking.push_back((static_cast<double>(reports[report].at) - soundEnd) / 1e6);
        ++report;
    }
    if (!marking.empty()) {
        const Summary summary = Summarize(marking);
        std::printf(
            "marking against its sound: spread %.2f ms over the text (goal: within 20 ms)\n",
            summary.maximum - summary.minimum);
    }
    std::fflush(stdout);
}

// Step presses: the spread of the time from press to onset in the recording (whose own delay is
// constant), and at most how long after a press its character is in the recording.
void Steps(const char* sink) {
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("s.raw"));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CRecordingRate recordingRate(recorder.Path(), std::chrono::milliseconds(2));
    CMorseText morse;
    morse.SetText("EEEEEEEEEEEEEEEEEEEE");
    morse.SetKind(kLetterText);
    CFinishListener listener;
    CKeyingEngine engine(&listener);
    const long serverUnderrunsBefore = ServerUnderruns();
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
    const double writtenAt = recordingRate.EarliestOriginSeconds(playedRate);
    const auto elements = CToneDecoder(kTone, kRate).FindElements(recorder.Stop());
    std::printf("\nstepping: %zu presses, %zu elements found (start sign 5, 20 E, end sign 5)\n",
                presses.size(), elements.size());
    std::printf(
        "lead %.2f ms and stream latency %.2f ms; underruns %llu, in the server's log %ld\n",
        std::chrono::duration<double, std::milli>(card.Lead()).count(),
        std::chrono::duration<double, std::milli>(card.StreamLatency()).count(),
        static_cast<unsigned long long>(card.Underruns()),
        ServerUnderruns() - serverUnderrunsBefore);
    if (elements.size() != 30) {
        return;
    }
    std::vector<double> delay;
    std::vector<double> inRecording;
    for (std::size_t k = 0; k < 20; ++k) {
        const double onsetSeconds = elements[5 + k].onset / playedRate;
        delay.push_back(onsetSeconds * 1e3 - static_cast<double>(presses[k]) / 1e6);
        inRecording.push_back((writtenAt + onsetSeconds) * 1e3 -
                              static_cast<double>(presses[k]) / 1e6);
    }
    const Summary summary = Summarize(delay);
    std::printf("press to onset: spread %.2f ms over 20 presses\n",
                summary.maximum - summary.minimum);
    PrintSummary(
        "press to its sound in the recording", Summarize(inRecording),
        "ms at most, the recorder's own buffering included (goal: within 200: a fill of 150 ms "
        "that outlasts a stalled machine, the server's steps and the recorder's 20 ms)");
}

// Reception conditions with everything on, keyed live: their noise sounds without a break while
// the transmission runs, so a run of silent samples inside it is a hole the listener hears.
void ConditionsLive(const char* sink, int signSpeed, int textSpeed, std::size_t characters) {
    constexpr float kSilent = 1e-6F;
    constexpr std::size_t kShortestHole = 22;  // half a millisecond
    CTemporaryFolder folder;
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("c.raw"), 250,
                            geteuid() == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CMorseText morse;
    morse.SetText(Text(characters, true, 11));
    morse.SetKind(kMixedText);
    const std::int64_t modelEnd =
        CTransmissionTimeline(morse, signSpeed, textSpeed, 3.0).EndUnits();
    CFinishListener listener;
    CKeyingEngine engine(&listener);
    const long serverUnderrunsBefore = ServerUnderruns();
    engine.ReplaceDevice(std::make_unique<CSoundCardOutput>(), kSoundCardOutput);
    auto& card = dynamic_cast<CSoundCardOutput&>(engine.Device());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    engine.SetSignSpeed(signSpeed);
    engine.SetTextSpeed(textSpeed);
    engine.SetToneFrequency(kTone);
    if (!engine.SetReceptionConditions(EverythingAtItsHighest(), 7)) {
        std::printf("\nreception conditions refused\n");
        return;
    }
    engine.SetText(morse);
    engine.Start(morse.FormatLines(), false);
    listener.WaitFor(1, std::chrono::minutes(30));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::vector<float> recorded = recorder.Stop();
    if (recorded.empty()) {
        std::printf("\nreception conditions: nothing recorded\n");
        return;
    }
    const auto sounds = [&](std::size_t k) { return std::abs(recorded[k]) > kSilent; };
    std::size_t first = 0;
    while (first < recorded.size() && !sounds(first)) {
        ++first;
    }
    std::size_t last = recorded.size();
    while (last > first && !sounds(last - 1)) {
        --last;
    }
    std::size_t holes = 0;
    std::size_t longest = 0;
    for (std::size_t k = first; k < last;) {
        std::size_t run = 0;
        while (k + run < last && !sounds(k + run)) {
            ++run;
        }
        if (run >= kShortestHole) {
            ++holes;
            longest = std::max(longest, run);
        }
        k += std::max<std::size_t>(run, 1);
    }
    std::printf(
        "\nreception conditions, everything on, %d/%d, %zu characters, %.1f s of sound%s%s: "
        "holes of 0.5 ms or more %zu (goal: 0), the longest %.1f ms\n"
        "(the text alone, without the fist and the conditions' lead-in: %.1f s)\n",
        signSpeed, textSpeed, characters, static_cast<double>(last - first) / kRate,
        conditions.desktop ? ", desktop load"
        : conditions.busy  ? ", busy machine"
                           : ", idle machine",
        conditions.withoutRealtimeRight ? ", without the right to real time" : "", holes,
        static_cast<double>(longest) * 1e3 / kRate, static_cast<double>(modelEnd) / 1e7);
    std::printf(
        "underruns in the sound server's log: %ld (goal: 0); reported to the stream: %llu; "
        "conditions rendered late: %llu\n",
        ServerUnderruns() - serverUnderrunsBefore,
        static_cast<unsigned long long>(card.Underruns()),
        static_cast<unsigned long long>(card.LateConditions()));
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

// Arguments, in any order: the number of characters (300); speed pairs such as 200/200 or 100/20
// and "steps" for the step presses (by default 200/200, 100/60 and the step presses); "long" for
// 100/20 and 200/20, whose 300 characters last about a quarter of an hour each; "conditions" to
// key the speed pairs (200/200 by default) with every reception condition on instead; "busy" to
// keep every core loaded by busy processes; "user" to run without the right to real-time
// scheduling, as a normal user.
int main(int argc, char** argv) {
    conditions = ParseLoadConditions(argc, argv);
    const std::unique_ptr<CBusyLoad> load = EstablishLoadConditions(conditions);
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    RenderCost();
    SoundFileCost();
    if (sink == nullptr) {
        std::printf("run under scripts/with-pulse for the end-to-end figures\n");
        return 0;
    }
    std::size_t characters = 300;
    std::vector<std::pair<int, int>> speeds;
    bool steps = false;
    bool withConditions = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        int sign = 0;
        int textSpeed = 0;
        if (std::sscanf(argument.c_str(), "%d/%d", &sign, &textSpeed) == 2) {
            speeds.emplace_back(sign, textSpeed);
        } else if (argument == "long") {
            speeds.emplace_back(100, 20);
            speeds.emplace_back(200, 20);
        } else if (argument == "steps") {
            steps = true;
        } else if (argument == "conditions") {
            withConditions = true;
        } else if (!argument.empty() && std::isdigit(static_cast<unsigned char>(argument[0]))) {
            characters = std::stoul(argument);
        }
    }
    if (withConditions) {
        for (const auto& [sign, textSpeed] :
             speeds.empty() ? std::vector<std::pair<int, int>>{{200, 200}} : speeds) {
            ConditionsLive(sink, sign, textSpeed, characters);
        }
        return 0;
    }
    if (speeds.empty() && !steps) {
        speeds = {{200, 200}, {100, 60}};
        steps = true;
    }
    for (const auto& [sign, textSpeed] : speeds) {
        Run(sink, sign, textSpeed, characters);
    }
    if (steps) {
        Steps(sink);
    }
    return 0;
}
