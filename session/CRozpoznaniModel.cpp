#include "session/CRozpoznaniModel.h"

#include <algorithm>
#include <cerrno>

#include "core/CCuePlayer.h"

CRozpoznaniModel::CRozpoznaniModel(CCuePlayer& cuePlayer, const RecognitionSettings& start,
                                   const CRecognitionFile& recordsFile, WallClock clock)
    : player(cuePlayer), settings(start), records(&recordsFile), wallClock(std::move(clock)) {
    SetLimit(settings.limitMilliseconds);
    SetLength(settings.length);
}

namespace {

// The slowest characters a summary names.
constexpr int kSlowestShown = 3;

std::string Character(char byte) {
    return Utf8FromCp1250(std::string_view(&byte, 1));
}

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

CaptionList CRozpoznaniModel::CzechCaptions() {
    return {"Okamžité rozpoznání",
            "&Znaky:",
            "znaky lekce",
            "písmena",
            "číslice",
            "všechny znaky",
            "&Limit rychlé odpovědi (ms):",
            "Špatnou odpověď ohlásit &tónem",
            "&Start",
            "Za&vřít",
            "Po startu zazní znak: napište ho na klávesnici. Reakce se měří od konce zvuku znaku.",
            "Odpověď",
            "Správně: %1, %2 ms",
            "Pomalu: %1, %2 ms",
            "Špatně: zazněl znak %1, napsáno %2",
            "Správně: %1, před koncem znaku",
            "Rychlost",
            "Rychlost: %1 znaků za minutu",
            "Rychlost zvýšena na %1 znaků za minutu",
            "Zvukovou kartu nelze otevřít. Okamžité rozpoznání hraje znaky jen zvukovou kartou.",
            "Vybraná sada neobsahuje žádný znak.",
            "Okamžité rozpoznání (nejpomalejší znaky první):",
            "Rychlost rozpoznání znaků",
            "Znak",
            "Reakce, medián (ms)",
            "Chybovost v rozpoznání",
            "Chybovost v opisu",
            "Odpovědi před koncem znaku",
            "&Délka běhu (odpovědí):",
            "Konec běhu: správně %1 z %2, špatně %3, před koncem znaku %4.",
            "%1: správně %2 z %3, medián reakce %4 ms",
            "Nejpomalejší znaky: %1",
            "Shrnutí běhu"};
}

void CRozpoznaniModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

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
    if (session && !session->Save(*records, wallClock())) {
        writeError = errno;
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
    lastAnswer.reset();
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
    if (pressed.answer) {
        lastAnswer = pressed.answer;
    }
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
    View view;
    view.settings = settings;
    view.running = session != nullptr;
    view.signSpeed = session ? session->SignSpeed() : settings.signSpeed;
    view.summary = summary;
    const std::string speed = std::to_string(view.signSpeed);
    view.speed = FillCaption(captions[kSpeed], {speed});
    if (lastAnswer) {
        const std::string asked = Character(lastAnswer->asked);
        if (lastAnswer->verdict == CInstantRecognition::Verdict::Wrong) {
            view.verdict = FillCaption(captions[kWrong], {asked, Character(lastAnswer->typed)});
        } else if (lastAnswer->early) {
            view.verdict = FillCaption(captions[kEarly], {asked});
        } else {
            const bool slow = lastAnswer->verdict == CInstantRecognition::Verdict::Slow;
            view.verdict = FillCaption(captions[slow ? kSlow : kRight],
                                       {asked, std::to_string(lastAnswer->reactionMilliseconds)});
        }
        view.announcement = view.verdict;
        // The rise is said with the answer that made it; the next answer shows the speed again.
        if (lastAnswer->speedRose) {
            view.speed = FillCaption(captions[kSpeedRose], {speed});
            view.announcement += ' ' + view.speed;
        }
    }
    if (summary) {
        view.summaryText = SummaryText(*summary);
        view.announcement += ' ' + view.summaryText.substr(0, view.summaryText.find('\n'));
    }
    return view;
}

std::string CRozpoznaniModel::SummaryText(const Summary& ended) const {
    std::vector<std::string> lines{
        FillCaption(captions[kRunEnd], {std::to_string(ended.right), std::to_string(ended.answers),
                                        std::to_string(ended.wrong), std::to_string(ended.early)})};
    std::string slowest;
    int named = 0;
    for (const CRecognitionSession::CharacterResult& result : ended.characters) {
        const std::string character = Character(result.character);
        const std::string median =
            result.medianMilliseconds ? std::to_string(*result.medianMilliseconds) : "–";
        lines.push_back(FillCaption(captions[kCharacterLine],
                                    {character, std::to_string(result.answers - result.errors),
                                     std::to_string(result.answers), median}));
        if (result.medianMilliseconds && named < kSlowestShown) {
            slowest += (named++ > 0 ? ", " : "") + character;
        }
    }
    if (named > 0) {
        lines.insert(lines.begin() + 1, FillCaption(captions[kSlowest], {slowest}));
    }
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}
