#include "session/CVolaciZnakyModel.h"

#include <algorithm>

#include "core/CCuePlayer.h"

CVolaciZnakyModel::CVolaciZnakyModel(const CCallsignSession::Settings& defaults,
                                     CCuePlayer& cuePlayer, std::string path, CNotifier& warnings,
                                     SeedSource seedSource, WallClock clock)
    : settings(CCallsignSession::Bounded(defaults)),
      player(cuePlayer),
      recordsPath(std::move(path)),
      notifier(warnings),
      seeds(std::move(seedSource)),
      wallClock(std::move(clock)) {}

CVolaciZnakyModel::~CVolaciZnakyModel() = default;

void CVolaciZnakyModel::SetStartSpeed(int speed) {
    settings.startSpeed = speed;
    settings = CCallsignSession::Bounded(settings);
}

void CVolaciZnakyModel::SetStep(int step) {
    settings.step = step;
    settings = CCallsignSession::Bounded(settings);
}

void CVolaciZnakyModel::SetWrongTone(bool wrongTone) {
    settings.wrongTone = wrongTone;
}

void CVolaciZnakyModel::StoreRun() {
    if (session) {
        session->Save(recordsPath, wallClock(), notifier);
    }
}

bool CVolaciZnakyModel::Start() {
    StoreRun();
    player.Silence();
    session = std::make_unique<CCallsignSession>(settings, player, seeds());
    if (!session->Start()) {
        session.reset();
        return false;
    }
    return true;
}

std::optional<CallsignRunRecord::Answer> CVolaciZnakyModel::Answer(const std::string& typed) {
    // An Enter on an empty field is a slip, not an answer.
    const bool empty = typed.find_first_not_of(" \t") == std::string::npos;
    if (!session || session->Finished() || empty) {
        return std::nullopt;
    }
    const auto answer = session->Type(typed.substr(0, kLongestAnswer));
    if (session->Finished()) {
        StoreRun();
    }
    return answer;
}

void CVolaciZnakyModel::Repeat() {
    if (session) {
        session->Repeat();
    }
}

void CVolaciZnakyModel::Feed() {
    if (session) {
        session->Feed();
    }
}

void CVolaciZnakyModel::Close() {
    StoreRun();
    player.Silence();
}

CVolaciZnakyModel::View CVolaciZnakyModel::GetView() const {
    View view;
    view.settings = settings;
    view.started = session != nullptr;
    view.running = session && !session->Finished();
    if (!session) {
        return view;
    }
    view.speed = session->Speed();
    view.answered = session->Answered();
    view.callsigns = session->Callsigns();
    view.score = session->Score();
    view.record = session->Record();
    view.right =
        static_cast<int>(std::count_if(view.record.answers.begin(), view.record.answers.end(),
                                       [](const auto& answer) { return answer.right; }));
    return view;
}
