#include "session/CVolaciZnakyModel.h"

#include <algorithm>

#include "core/CCuePlayer.h"

CVolaciZnakyModel::CVolaciZnakyModel(const CCallsignSession::Settings& defaults,
                                     CCuePlayer& cuePlayer, const CCallsignRecordsFile& recordsFile,
                                     CNotifier& warnings, SeedSource seedSource, WallClock clock)
    : settings(CCallsignSession::Bounded(defaults)),
      player(cuePlayer),
      records(&recordsFile),
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
        session->Save(*records, wallClock(), notifier);
    }
}

bool CVolaciZnakyModel::Start() {
    StoreRun();
    player.Silence();
    lastAnswer.reset();
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
    lastAnswer = answer;
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
        view.progress = captions[kBeforeStart];
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
    if (lastAnswer) {
        view.verdict = AnswerText(*lastAnswer);
    }
    if (view.running) {
        view.progress = FillCaption(captions[kProgress],
                                    {std::to_string(view.speed), std::to_string(view.answered + 1),
                                     std::to_string(view.callsigns), std::to_string(view.score)});
        return view;
    }
    // The summary once, with every miss after it.
    view.summaryText = FillCaption(captions[kSummary],
                                   {std::to_string(view.record.score), std::to_string(view.right),
                                    std::to_string(view.record.answers.size()),
                                    DecimalText(100.0 * view.record.RightShare(), 0, decimalSign),
                                    std::to_string(view.record.highestSpeed)});
    for (const CallsignRunRecord::Answer& answer : view.record.answers) {
        if (!answer.right) {
            view.summaryText += '\n' + AnswerText(answer);
        }
    }
    return view;
}

std::string CVolaciZnakyModel::AnswerText(const CallsignRunRecord::Answer& answer) const {
    const std::string speed = std::to_string(answer.speed);
    if (answer.right) {
        return FillCaption(captions[kRight], {answer.callsign, speed});
    }
    const std::string& typed = answer.typed.empty() ? captions[kNothingTyped] : answer.typed;
    return FillCaption(captions[kWrong], {answer.callsign, typed, speed});
}

void CVolaciZnakyModel::SetCaptions(CaptionList languageCaptions, std::string languageDecimalSign) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
    decimalSign = std::move(languageDecimalSign);
}

CaptionList CVolaciZnakyModel::CzechCaptions() {
    return {"Volací znaky",
            "Počáteční &rychlost (znaků za minutu):",
            "&Krok rychlosti (znaků za minutu):",
            "&Tón při chybné odpovědi",
            "&Start",
            "&Co jste slyšeli (Enter odešle):",
            "&Opakovat",
            "&Zavřít",
            "Poslední odpověď",
            "Správně: %1 (rychlost %2 znaků za minutu).",
            "Chybně: vysíláno %1, zapsáno %2 (rychlost %3 znaků za minutu).",
            "nic",
            "Rychlost %1 znaků za minutu, volací znak %2 z %3, skóre %4.",
            "Konec běhu: skóre %1, správně %2 z %3 (%4 %), nejvyšší rychlost %5 znaků za minutu.",
            "Shrnutí běhu",
            "CHYBA: Zvukovou kartu nelze použít, volací znaky proto nelze přehrát.",
            "Zvolte počáteční rychlost a krok a stiskněte Start.",
            "Běhy volacích znaků (nejnovější nahoře):",
            "Datum",
            "Počáteční rychlost",
            "Skóre",
            "Nejvyšší rychlost",
            "Správně",
            "Běhy volacích znaků",
            "Stav",
            "dokončen",
            "nedokončen, %1 z %2 odpovědí",
            "Body za správnou odpověď: její rychlost × počet znaků značky ÷ 10; každé Opakovat je "
            "půlí."};
}
