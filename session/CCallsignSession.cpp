#include "session/CCallsignSession.h"

#include <algorithm>

#include <cerrno>

#include "core/CCuePlayer.h"
#include "core/CNotifier.h"
#include "core/Timing.h"
#include "engine/CueSounds.h"
#include "session/LocalStamp.h"
#include "training/CCallsignRecordsFile.h"

namespace {

CCallsignRun::Settings RunRules(const CCallsignSession::Settings& settings) {
    CCallsignRun::Settings run;
    run.startSpeed = settings.startSpeed;
    run.step = settings.step;
    run.lowestSpeed = CCallsignSession::kLowestStartSpeed;
    run.highestSpeed = CCallsignSession::kHighestStartSpeed;
    return run;
}

}  // namespace

CCallsignSession::Settings CCallsignSession::Bounded(Settings settings) {
    settings.startSpeed = std::clamp(settings.startSpeed, kLowestStartSpeed, kHighestStartSpeed);
    settings.step = std::clamp(settings.step, 1, kLargestStep);
    settings.gain = std::clamp(settings.gain, 0.0f, 1.0f);
    return settings;
}

CCallsignSession::CCallsignSession(const Settings& chosen, CCuePlayer& cuePlayer,
                                   std::uint32_t seed)
    : settings(Bounded(chosen)), player(cuePlayer), run(RunRules(settings), seed) {}

std::vector<float> CCallsignSession::Callsign() const {
    // Sign and text speed alike: a callsign is one word, keyed at the run's speed.
    return cuesounds::RenderText(run.Current(), run.Speed(), run.Speed(), settings.toneHz,
                                 settings.dashRatio, settings.gain);
}

bool CCallsignSession::Start() {
    return player.Open() && Play();
}

bool CCallsignSession::Queue(const std::vector<float>& samples) {
    if (waitingFrom == waiting.size()) {
        waiting.clear();
        waitingFrom = 0;
        if (player.Play(samples)) {
            return true;
        }
    }
    const bool busy = waitingFrom < waiting.size();
    const std::size_t before = waitingFrom;
    waiting.insert(waiting.end(), samples.begin(), samples.end());
    Feed();
    return busy || waitingFrom > before;
}

bool CCallsignSession::Feed() {
    while (waitingFrom < waiting.size()) {
        const std::size_t count = std::min(kPieceSamples, waiting.size() - waitingFrom);
        const auto from = waiting.begin() + static_cast<std::ptrdiff_t>(waitingFrom);
        if (!player.Play(std::vector<float>(from, from + static_cast<std::ptrdiff_t>(count)))) {
            return true;
        }
        waitingFrom += count;
    }
    waiting.clear();
    waitingFrom = 0;
    return false;
}

void CCallsignSession::Silence() {
    player.Silence();
    waiting.clear();
    waitingFrom = 0;
}

bool CCallsignSession::Play() {
    return !run.Finished() && Queue(Callsign());
}

bool CCallsignSession::Repeat() {
    if (run.Finished()) {
        return false;
    }
    run.Repeat();
    // What is still queued (the pause before this callsign, or the callsign itself) gives way,
    // so that presses in a row do not pile up.
    Silence();
    return Play();
}

std::optional<CallsignRunRecord::Answer> CCallsignSession::Type(const std::string& typed) {
    if (run.Finished()) {
        return std::nullopt;
    }
    // The copy is judged as the records keep it, so that a stored verdict always agrees with
    // the stored copy.
    run.Type(CCallsignRecordsFile::KeptText(typed));
    const CCallsignRun::Answer& judged = run.Answers().back();
    const CallsignRunRecord::Answer answer{judged.callsign, judged.typed, judged.speed,
                                           judged.repeats,  judged.right, judged.points};
    // The callsign still sounding gives way to the verdict.
    Silence();
    if (!answer.right && settings.wrongTone) {
        Queue(cuesounds::WrongAnswerTone(settings.gain));
    }
    if (!run.Finished()) {
        std::vector<float> next(
            static_cast<std::size_t>(CCuePlayer::kSampleRate * kPauseMilliseconds / 1000), 0.0f);
        const std::vector<float> callsign = Callsign();
        next.insert(next.end(), callsign.begin(), callsign.end());
        Queue(next);
    }
    return answer;
}

CallsignRunRecord CCallsignSession::Record() const {
    CallsignRunRecord record;
    record.startSpeed = settings.startSpeed;
    record.step = settings.step;
    for (const CCallsignRun::Answer& judged : run.Answers()) {
        record.answers.push_back({judged.callsign, judged.typed, judged.speed, judged.repeats,
                                  judged.right, judged.points});
        record.highestSpeed = std::max(record.highestSpeed, judged.speed);
    }
    record.score = run.Score();
    return record;
}

bool CCallsignSession::Save(const CCallsignRecordsFile& records,
                            std::chrono::system_clock::time_point now, CNotifier& notifier) {
    if (saved || run.Answers().empty()) {
        return true;
    }
    const CallsignRunRecord record = StampLocalTime(Record(), now);
    if (!records.Append(record)) {
        notifier.WriteFailed(records.Path(), errno);
        return false;
    }
    saved = true;
    return true;
}
