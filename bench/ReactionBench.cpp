// Reaction times against the sound itself: characters of instant recognition go through the real
// cue player into a private sound server; the monitor of its sink is recorded and read as it
// grows, the moment each character's last sample arrives there is found, and a key press is
// injected a known delay (150, 400, 800, 1500 or 2000 ms) after it. Prints how far the reaction the session
// measured lies from the injected delay, and how far the player's own heard end lies from the
// arrival found on the monitor. The monitor is read through the recorder, whose buffering delays
// the arrival found by a few milliseconds: that part of the figures is the instrument's own.
// Then a run of 50 callsigns through the same player, each checked whole on the monitor. Every
// sound is checked for holes (its sounding runs against the keyed ones). Takes "desktop", "busy"
// and "user" as the other benchmarks do. Run under scripts/with-pulse.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/LoadConditions.h"
#include "bench/Statistics.h"
#include "engine/CueSounds.h"
#include "output/CSoundCardCuePlayer.h"
#include "output/MonotonicClock.h"
#include "session/CRecognitionSession.h"
#include "tests/support/CSoundRecorder.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

constexpr double kRate = CCuePlayer::kSampleRate;
// A sample louder than this sounds; the characters play at half of full scale.
constexpr float kSounding = 0.01F;
// The end found is confirmed by this much silence after it (5 ms); the gaps inside a character
// are longer, so the character's own length, known from its samples, places the end.
constexpr std::int64_t kSilenceAfterEnd = 220;
// The server's sample format rounds the quietest samples of an edge, which can move the first or
// the last sample over the threshold by a sample or two.
constexpr std::int64_t kEdgeTolerance = 2;
constexpr int kCharacters = 30;
constexpr int kCallsigns = 50;
constexpr std::int64_t kDelaysMilliseconds[] = {150, 400, 800, 1500, 2000};

// The sounding runs of `samples`: sounding samples apart by less than a millisecond of silence
// (a sine's own zero crossings) belong to one run.
int Runs(const float* samples, std::size_t count) {
    constexpr std::size_t kSilentRun = 44;
    int runs = 0;
    std::size_t silent = kSilentRun;
    for (std::size_t k = 0; k < count; ++k) {
        if (std::abs(samples[k]) > kSounding) {
            runs += silent >= kSilentRun ? 1 : 0;
            silent = 0;
        } else {
            ++silent;
        }
    }
    return runs;
}

// The recording as it grows: new samples read from the file, and the moments the file reached
// each size. A poll at t that finds n samples says sample k (< n) arrived no later than
// t - (n - k) / rate; the earliest of those bounds over the polls of the next two seconds is the
// closest to the moment it arrived at the monitor. Only polls soon after the sample count: should
// the recorder lose samples on a stalled machine, the polls after that would place every earlier
// sample too early by what was lost.
class CGrowingRecording {
public:
    explicit CGrowingRecording(const std::string& path) : file(path, std::ios::binary) {}

    // Reads what has been written since the last poll.
    void Poll() {
        const std::int64_t now = MonotonicNanoseconds();
        file.clear();
        float block[4096];
        while (file.read(reinterpret_cast<char*>(block), sizeof block) || file.gcount() > 0) {
            const auto count = static_cast<std::size_t>(file.gcount()) / sizeof(float);
            samples.insert(samples.end(), block, block + count);
            if (file.gcount() < static_cast<std::streamsize>(sizeof block)) {
                break;
            }
        }
        // A partial sample stays for the next poll.
        file.clear();
        file.seekg(static_cast<std::streamoff>(samples.size() * sizeof(float)));
        if (polls.empty() || polls.back().size < Size()) {
            polls.push_back({Size(), now});
        }
    }
    // When sample `k` arrived at the monitor, as well as the recording tells.
    std::int64_t ArrivalOf(std::int64_t k) const {
        constexpr auto kWindow = static_cast<std::int64_t>(2 * kRate);
        auto poll = std::upper_bound(polls.begin(), polls.end(), k,
                                     [](std::int64_t at, const SizeAt& p) { return at < p.size; });
        double arrival = 1e30;
        for (; poll != polls.end() && poll->size <= k + kWindow; ++poll) {
            arrival = std::min(arrival, static_cast<double>(poll->at) -
                                            static_cast<double>(poll->size - k) * 1e9 / kRate);
        }
        return static_cast<std::int64_t>(std::llround(arrival));
    }
    // The last sounding sample of a sound that began at or after `from` and whose sounding part
    // spans `span` samples, once it and a little silence after it are in; -1 until then.
    std::int64_t EndedSound(std::int64_t from, std::int64_t span) const {
        for (auto k = static_cast<std::size_t>(from); k < samples.size(); ++k) {
            if (std::abs(samples[k]) > kSounding) {
                const auto expected = static_cast<std::int64_t>(k) + span;
                if (Size() <= expected + kEdgeTolerance + kSilenceAfterEnd) {
                    return -1;
                }
                // The end must sound, near where it is expected, and what follows it must not.
                std::int64_t end = -1;
                for (std::int64_t n = expected - kEdgeTolerance; n <= expected + kEdgeTolerance;
                     ++n) {
                    end = Sounds(n) ? n : end;
                }
                for (std::int64_t n = end + 1; end >= 0 && n <= end + kSilenceAfterEnd; ++n) {
                    if (Sounds(n)) {
                        return -1;
                    }
                }
                return end;
            }
        }
        return -1;
    }
    std::int64_t Size() const { return static_cast<std::int64_t>(samples.size()); }
    bool Sounds(std::int64_t k) const {
        return std::abs(samples[static_cast<std::size_t>(k)]) > kSounding;
    }
    // Whether the sound that ends at `end` and sounds over `span` samples has the sounding runs
    // of `keyed` (a hole in an element, or an element lost, changes their number).
    bool Whole(std::int64_t end, std::int64_t span, const std::vector<float>& keyed) const {
        return Runs(samples.data() + (end - span), static_cast<std::size_t>(span + 1)) ==
               Runs(keyed.data(), keyed.size());
    }

private:
    std::ifstream file;
    std::vector<float> samples;
    struct SizeAt {
        std::int64_t size;
        std::int64_t at;
    };
    std::vector<SizeAt> polls;
};

// The sounding span of `keyed`, from its first sounding sample to its last, in samples.
std::int64_t SoundingSpan(const std::vector<float>& keyed) {
    const auto sounding = [](float v) { return std::abs(v) > kSounding; };
    const auto first = std::find_if(keyed.begin(), keyed.end(), sounding);
    const auto last = std::find_if(keyed.rbegin(), keyed.rend(), sounding);
    return static_cast<std::int64_t>((keyed.rend() - last) - 1 - (first - keyed.begin()));
}

// Keeps the recording up with the monitor until `until` on the monotonic clock.
void KeepUp(CGrowingRecording& recording, std::int64_t until) {
    while (MonotonicNanoseconds() < until) {
        recording.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// The last sample of a sound of `span` samples recorded after `from`, waited for up to
// `patience` nanoseconds; -1 when none ends in that time.
std::int64_t AwaitSound(CGrowingRecording& recording, std::int64_t from, std::int64_t span,
                        std::int64_t patience) {
    const std::int64_t giveUp = MonotonicNanoseconds() + patience;
    std::int64_t last = -1;
    while ((last = recording.EndedSound(from, span)) < 0 && MonotonicNanoseconds() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        recording.Poll();
    }
    return last;
}

double Percentile(std::vector<double> values, double quantile) {
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(std::ceil(quantile * static_cast<double>(values.size())) - 1.0);
    return values[std::min(index, values.size() - 1)];
}

void PrintFigures(const char* label, const std::vector<double>& values) {
    std::vector<double> sizes;
    for (const double v : values) {
        sizes.push_back(std::abs(v));
    }
    const Summary summary = Summarize(values);
    std::printf(
        "%-44s n=%zu median %+7.2f  p95 |%6.2f|  max |%6.2f|  (min %+7.2f, max %+7.2f) ms\n", label,
        summary.count, summary.median, Percentile(sizes, 0.95),
        *std::max_element(sizes.begin(), sizes.end()), summary.minimum, summary.maximum);
}

}  // namespace

// A run of callsigns at rising speed through the same player, as the callsign window plays
// them: each found whole on the monitor, its heard end compared with its arrival. Returns the
// callsigns with a hole or not found.
int Callsigns(CSoundCardCuePlayer& player, CGrowingRecording& recording,
              std::vector<double>& heardEndError) {
    const char* const calls[] = {"OK1RAJ", "DL2ZZ", "G4ABC/P", "OL7M", "VK3QQ", "JA1XYZ", "W1AW"};
    int failed = 0;
    for (int n = 0; n < kCallsigns; ++n) {
        const int speed = 100 + 5 * n;
        const std::vector<float> keyed =
            cuesounds::RenderText(calls[n % 7], speed, speed, 650, 3.0, 0.5F);
        const std::int64_t span = SoundingSpan(keyed);
        recording.Poll();
        const std::int64_t from = recording.Size();
        if (!player.Play(keyed)) {
            ++failed;
            continue;
        }
        const std::int64_t last = AwaitSound(recording, from, span, 5'000'000'000);
        if (last < 0 || !recording.Whole(last, span, keyed)) {
            std::printf("  %s at %d a minute: %s\n", calls[n % 7], speed,
                        last < 0 ? "not found whole" : "a hole");
            ++failed;
            continue;
        }
        heardEndError.push_back(
            static_cast<double>(player.HeardEndNanoseconds() - recording.ArrivalOf(last)) / 1e6);
        KeepUp(recording, MonotonicNanoseconds() + 700'000'000);
    }
    return failed;
}

int main(int argc, char** argv) {
    const std::unique_ptr<CBusyLoad> load =
        EstablishLoadConditions(ParseLoadConditions(argc, argv));
    const long serverUnderrunsBefore = ServerUnderruns();
    const char* sink = std::getenv("BRUMLO_TEST_SINK");
    if (sink == nullptr) {
        std::printf("run under scripts/with-pulse, which provides a private sound server\n");
        return 0;
    }
    CTemporaryFolder folder;
    // The instrument loses nothing under load: real time where it may.
    CSoundRecorder recorder(std::string(sink) + ".monitor", folder.File("monitor.raw"), 20,
                            geteuid() == 0);
    if (!recorder.Started()) {
        std::printf("the monitor could not be recorded\n");
        return 1;
    }
    CSoundCardCuePlayer player;
    if (!player.Open()) {
        std::printf("the cue player could not open the sound card\n");
        return 1;
    }
    CGrowingRecording recording(recorder.Path());
    // The recorder and the player's stream settle before the first character.
    KeepUp(recording, MonotonicNanoseconds() + 1'000'000'000);

    const std::string characters = "EKT0Q5MAZ?";
    std::vector<double> reactionError;
    std::vector<double> heardEndError;
    int refused = 0;
    int notFound = 0;
    int early = 0;
    int holes = 0;
    for (int n = 0; n < kCharacters; ++n) {
        RecognitionSettings settings;
        settings.set = RecognitionSet::Lesson;
        settings.lessonCharacters =
            std::string(1, characters[static_cast<std::size_t>(n) % characters.size()]);
        settings.signSpeed = 100 + 10 * (n % 10);
        settings.textSpeed = settings.signSpeed;
        settings.toneHz = 600;
        settings.gain = 0.5F;
        settings.wrongTone = false;
        CRecognitionSession session(player, settings);
        // The sounding part of the character as the player gets it.
        const std::vector<float> keyed =
            cuesounds::RenderText(settings.lessonCharacters, settings.signSpeed, settings.textSpeed,
                                  settings.toneHz, settings.dashRatio, settings.gain);
        const std::int64_t span = SoundingSpan(keyed);
        recording.Poll();
        const std::int64_t from = recording.Size();
        if (!session.Next()) {
            ++refused;
            continue;
        }
        const std::int64_t last = AwaitSound(recording, from, span, 3'000'000'000);
        if (last < 0) {
            ++notFound;
            continue;
        }
        holes += recording.Whole(last, span, keyed) ? 0 : 1;
        const std::int64_t arrival = recording.ArrivalOf(last);
        const std::int64_t delay = kDelaysMilliseconds[n % std::size(kDelaysMilliseconds)];
        SleepUntilNanoseconds(arrival + delay * 1'000'000);
        const std::int64_t press = MonotonicNanoseconds();
        const auto answer = session.Press(settings.lessonCharacters[0], press);
        if (!answer || answer->early) {
            ++early;
            continue;
        }
        const double injected = static_cast<double>(press - arrival) / 1e6;
        reactionError.push_back(answer->reactionMilliseconds - injected);
        heardEndError.push_back(static_cast<double>(player.HeardEndNanoseconds() - arrival) / 1e6);
        // A pause before the next character, during which the recording is kept up with.
        KeepUp(recording, MonotonicNanoseconds() + 250'000'000);
    }
    const int callsignHoles = Callsigns(player, recording, heardEndError);
    recorder.Stop();
    std::printf(
        "cue player: stream latency %.1f ms, underruns %llu, in the server's log %ld (goal: 0); "
        "of %d characters %d refused, %d not found whole on the monitor, %d pressed before the "
        "player's end, %d with a hole (goal: 0)\n",
        std::chrono::duration<double, std::milli>(player.StreamLatency()).count(),
        static_cast<unsigned long long>(player.Underruns()),
        ServerUnderruns() - serverUnderrunsBefore, kCharacters, refused, notFound, early, holes);
    std::printf("a callsign run of %d: %d with a hole or not found (goal: 0)\n", kCallsigns,
                callsignHoles);
    if (reactionError.empty()) {
        return 1;
    }
    PrintFigures("measured reaction - injected delay", reactionError);
    PrintFigures("player's heard end - arrival on the monitor", heardEndError);
    std::printf("(the reaction is recorded to 10 ms; goal: within 10 ms)\n");
    return 0;
}
