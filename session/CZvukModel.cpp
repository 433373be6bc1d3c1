#include "session/CZvukModel.h"

#include <algorithm>
#include <cmath>

#include "config/CSoundOptionsFile.h"

namespace {

int Tenths(double seconds) {
    const double tenths = std::round(seconds * 10.0);
    // Not a number (and anything below zero) is no pause.
    if (!(tenths > 0.0)) {
        return 0;
    }
    return static_cast<int>(std::min<double>(tenths, SoundOptions::kLongestPauseTenths));
}

}  // namespace

CZvukModel::CZvukModel(const SoundOptions& start, char decimalSign)
    : options(start), rungsText(CSoundOptionsFile::FormatRungs(start.rungs, decimalSign)) {}

void CZvukModel::SetSpeak(bool speak) {
    options.speak = speak;
}

void CZvukModel::SetSpeakLive(bool speakLive) {
    options.speakLive = speakLive;
}

void CZvukModel::SetPauseBefore(double seconds) {
    options.pauseBeforeTenths = Tenths(seconds);
}

void CZvukModel::SetPauseAfter(double seconds) {
    options.pauseAfterTenths = Tenths(seconds);
}

void CZvukModel::ChooseLadder(SoundOptions::Ladder ladder) {
    options.ladder = ladder;
}

void CZvukModel::TypeRungs(std::string text) {
    rungsText = std::move(text);
}

void CZvukModel::SetStepCpm(int cpm) {
    options.stepCpm = std::clamp(cpm, 1, SoundOptions::kHighestStepCpm);
}

void CZvukModel::SetStepMinutes(int minutes) {
    options.stepMinutes = std::clamp(minutes, 1, SoundOptions::kLongestStepMinutes);
}

bool CZvukModel::Accept() {
    const auto rungs = CSoundOptionsFile::ParseRungs(rungsText);
    if (rungs) {
        options.rungs = *rungs;
    }
    rungsProblem = !rungs && options.ladder == SoundOptions::Ladder::kRungs;
    return !rungsProblem;
}

CZvukModel::View CZvukModel::GetView() const {
    View view;
    view.options = options;
    view.rungs = rungsText;
    view.answersEnabled = options.speak;
    view.rungsEnabled = options.ladder == SoundOptions::Ladder::kRungs;
    view.stepsEnabled = options.ladder == SoundOptions::Ladder::kSteps;
    view.rungsProblem = rungsProblem;
    view.rungsProblemText = rungsProblem ? captions[kBadRungs] : std::string();
    return view;
}

void CZvukModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

CaptionList CZvukModel::CzechCaptions() {
    return {"Mluvené odpovědi a rychlostní žebříček",
            "&Mluvené odpovědi (po každé skupině nebo slovu)",
            "Pauza &před odpovědí (s):",
            "Pauza po odpo&vědi (s):",
            "Rychlostní žebříček:",
            "&Bez žebříčku",
            "Každá skupina post&upně rychlostmi (násobky rychlosti textu):",
            "&Zvyšovat rychlost textu",
            "o (znaků za minutu):",
            "každých (minut):",
            "Žebříček platí jen pro soubory uložené příkazem „Uložit zvuk…“; mluvené odpovědi také "
            "živě při vysílání zvukovou kartou, je-li to zaškrtnuto. Odpovědi mluví jazykem "
            "popisků: česky, v jazykové sadě anglicky.",
            "Násobky musí být dvě až deset čísel od 0,25 do 4, oddělených středníkem nebo mezerou.",
            "&OK",
            "&Storno",
            "Mluvit &i živě při vysílání zvukovou kartou"};
}
