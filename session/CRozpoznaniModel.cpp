#include "session/CRozpoznaniModel.h"

#include <algorithm>

#include "core/CCuePlayer.h"

CRozpoznaniModel::CRozpoznaniModel(CCuePlayer& cuePlayer, const RecognitionSettings& start,
                                   std::string path, WallClock clock)
    : player(cuePlayer),
      settings(start),
      recordsPath(std::move(path)),
      wallClock(std::move(clock)) {
    SetLimit(settings.limitMilliseconds);
    SetLength(settings.length);
}

namespace {

CRozpoznaniModel::Summary SummaryOf(const CRecognitionSession& run) {
    CRozpoznaniModel::Summary summary;
    summary.answers = run.Answers();
    for (const CRecognitionSession::CharacterResult& result : run.Results()) {
        summary.wrong += result.errors;
        summary.early += result.early;
        if (result.answers > 0) {
            summary.characters.push_back(result);
        }
    }
    summary.right = summary.answers - summary.wrong;
    std::stable_sort(summary.characters.begin(), summary.characters.end(),
                     [](const auto& a, const auto& b) {
                         if (a.medianMilliseconds.has_value() != b.medianMilliseconds.has_value()) {
                             return a.medianMilliseconds.has_value();
                         }
                         return a.medianMilliseconds > b.medianMilliseconds;
                     });
    return summary;
}

}  // namespace

CRozpoznaniModel::~CRozpoznaniModel() = default;

void CRozpoznaniModel::ChooseSet(int index) {
    if (!session) {
        settings.set = static_cast<RecognitionSet>(std::clamp(index, 0, 3));
    }
}

void CRozpoznaniModel::SetLimit(int milliseconds) {
    if (!session) {
        settings.limitMilliseconds = std::clamp(milliseconds, kLowestLimit, kHighestLimit);
    }
}

void CRozpoznaniModel::SetLength(int answers) {
    if (!session) {
        settings.length = std::clamp(answers, kShortestRun, kLongestRun);
    }
}

void CRozpoznaniModel::SetWrongTone(bool wrongTone) {
    if (!session) {
        settings.wrongTone = wrongTone;
    }
}

void CRozpoznaniModel::EndRun(Problems& problems) {
    if (session && !session->Save(recordsPath, wallClock())) {
        problems.push_back(Problem::kWriteFailed);
    }
    session.reset();
}

CRozpoznaniModel::Problems CRozpoznaniModel::Start() {
    Problems problems;
    EndRun(problems);
    summary.reset();
    player.Silence();
    if (!player.Open()) {
        problems.push_back(Problem::kNoSound);
        return problems;
    }
    auto run = std::make_unique<CRecognitionSession>(player, settings);
    if (run->Empty()) {
        problems.push_back(Problem::kEmptySet);
        return problems;
    }
    session = std::move(run);
    const Problems next = Next();
    problems.insert(problems.end(), next.begin(), next.end());
    return problems;
}

CRozpoznaniModel::Problems CRozpoznaniModel::Next() {
    Problems problems;
    if (session && !session->Next()) {
        // The sound card refused the character (it went away): the run ends here.
        problems.push_back(Problem::kNoSound);
        EndRun(problems);
    }
    return problems;
}

CRozpoznaniModel::Pressed CRozpoznaniModel::Press(char typed, std::int64_t pressNanoseconds) {
    Pressed pressed;
    if (!session) {
        return pressed;
    }
    pressed.answer = session->Press(typed, pressNanoseconds);
    if (pressed.answer && session->Answers() >= settings.length) {
        summary = SummaryOf(*session);
        EndRun(pressed.problems);
    }
    return pressed;
}

CRozpoznaniModel::Problems CRozpoznaniModel::Close() {
    Problems problems;
    player.Silence();
    EndRun(problems);
    return problems;
}

CRozpoznaniModel::View CRozpoznaniModel::GetView() const {
    return {settings, session != nullptr, session ? session->SignSpeed() : settings.signSpeed,
            summary};
}
