#include "session/CPodminkyModel.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool& Flag(ReceptionSettings& settings, CPodminkyModel::Condition condition) {
    switch (condition) {
        case CPodminkyModel::kNoise:
            return settings.noise;
        case CPodminkyModel::kFading:
            return settings.fading;
        case CPodminkyModel::kStatic:
            return settings.staticCrashes;
        case CPodminkyModel::kInterference:
            return settings.interference;
        case CPodminkyModel::kZeroBeat:
            return settings.zeroBeat;
        case CPodminkyModel::kPileUp:
            return settings.pileUp;
        case CPodminkyModel::kChirp:
            return settings.chirp;
        case CPodminkyModel::kClicks:
        case CPodminkyModel::kConditionCount:
            break;
    }
    return settings.keyClicks;
}

int& Number(ReceptionSettings& settings, CPodminkyModel::Value value) {
    switch (value) {
        case CPodminkyModel::kSnr:
            return settings.snrDb;
        case CPodminkyModel::kFilter:
            return settings.filterHz;
        case CPodminkyModel::kFadingDepth:
            return settings.fadingDepthPercent;
        case CPodminkyModel::kFadingSpread:
            return settings.fadingSpreadCentihertz;
        case CPodminkyModel::kPathDelay:
            return settings.pathDelayMicroseconds;
        case CPodminkyModel::kStaticRate:
            return settings.staticPerMinute;
        case CPodminkyModel::kStations:
            return settings.stations;
        case CPodminkyModel::kChirpHz:
        case CPodminkyModel::kValueCount:
            break;
    }
    return settings.chirpHz;
}

}  // namespace

CPodminkyModel::CPodminkyModel(const ReceptionSettings& start)
    : settings(start.Bounded()), seedText(std::to_string(start.seed)) {}

void CPodminkyModel::SetCondition(Condition condition, bool on) {
    if (condition >= 0 && condition < kConditionCount) {
        Flag(settings, condition) = on;
    }
}

void CPodminkyModel::SetValue(Value value, int number) {
    if (value >= 0 && value < kValueCount) {
        Number(settings, value) = number;
        settings = settings.Bounded();
    }
}

void CPodminkyModel::ChooseFist(int index) {
    settings.fist = static_cast<FistKind>(std::clamp(index, 0, static_cast<int>(FistKind::kBug)));
}

void CPodminkyModel::ChooseFadingPreset(int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kFadingPresets))) {
        settings.fadingSpreadCentihertz = kFadingPresets[index].spreadCentihertz;
        settings.pathDelayMicroseconds = kFadingPresets[index].pathDelayMicroseconds;
        settings = settings.Bounded();
    }
}

void CPodminkyModel::SetFadingSpreadHz(double hertz) {
    SetValue(kFadingSpread, static_cast<int>(std::lround(std::clamp(hertz, 0.0, 1e6) * 100.0)));
}

void CPodminkyModel::SetPathDelayMilliseconds(double milliseconds) {
    SetValue(kPathDelay,
             static_cast<int>(std::lround(std::clamp(milliseconds, 0.0, 1e6) * 1000.0)));
}

void CPodminkyModel::ChooseAgc(int index) {
    settings.agc = static_cast<ReceptionSettings::Agc>(
        std::clamp(index, 0, static_cast<int>(ReceptionSettings::Agc::kSlow)));
}

void CPodminkyModel::TypeSeed(const std::string& digits) {
    seedText = digits;
}

void CPodminkyModel::TakeSeed() {
    // Taken whole, not keystroke by keystroke: a number too large for 64 bits must not leave
    // behind the last of its beginnings that fitted.
    std::uint64_t seed = 0;
    const char* const end = seedText.data() + seedText.size();
    const auto [stop, error] = std::from_chars(seedText.data(), end, seed);
    if (!seedText.empty() && error == std::errc() && stop == end) {
        settings.seed = seed;
    }
}

void CPodminkyModel::Accept() {
    TakeSeed();
}

void CPodminkyModel::SetFixedSeed(bool fixed) {
    settings.fixedSeed = fixed;
}

void CPodminkyModel::Defaults() {
    TakeSeed();
    ReceptionSettings defaults;
    defaults.seed = settings.seed;
    defaults.fixedSeed = settings.fixedSeed;
    settings = defaults;
    seedText = std::to_string(settings.seed);
}

CPodminkyModel::View CPodminkyModel::GetView() const {
    View view;
    view.settings = settings;
    ReceptionSettings shown = settings;
    for (int k = 0; k < kConditionCount; ++k) {
        view.on[k] = Flag(shown, static_cast<Condition>(k));
    }
    for (int k = 0; k < kValueCount; ++k) {
        view.values[k] = Number(shown, static_cast<Value>(k));
    }
    view.valueEnabled[kSnr] = settings.noise;
    // The receiver filter is heard with any condition that makes a sound.
    view.valueEnabled[kFilter] = settings.ChangesSound();
    view.valueEnabled[kFadingDepth] = settings.fading;
    view.valueEnabled[kFadingSpread] = settings.fading;
    view.valueEnabled[kPathDelay] = settings.fading;
    view.fadingPreset = kFadingPresetOwn;
    for (int k = 0; k < static_cast<int>(std::size(kFadingPresets)); ++k) {
        if (kFadingPresets[k].spreadCentihertz == settings.fadingSpreadCentihertz &&
            kFadingPresets[k].pathDelayMicroseconds == settings.pathDelayMicroseconds) {
            view.fadingPreset = k;
        }
    }
    view.fadingPresetEnabled = settings.fading;
    view.fadingSpreadHz = settings.fadingSpreadCentihertz / 100.0;
    view.pathDelayMilliseconds = settings.pathDelayMicroseconds / 1000.0;
    view.agc = static_cast<int>(settings.agc);
    view.agcEnabled = settings.ChangesSound();
    view.valueEnabled[kStaticRate] = settings.staticCrashes;
    view.valueEnabled[kStations] = settings.interference;
    view.valueEnabled[kChirpHz] = settings.chirp;
    view.seed = seedText;
    return view;
}

void CPodminkyModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

CaptionList CPodminkyModel::CzechCaptions() {
    return {"Podmínky příjmu",
            "Š&um",
            "Odstup signálu od šumu v pásmu 500 Hz (dB):",
            "Šířka &filtru přijímače (Hz):",
            "Úni&k (QSB)",
            "Hloubka úniku (%):",
            "Perioda úniku (s):",
            "&Praskání (QRN)",
            "Výbojů za minutu:",
            "&Rušení jinými stanicemi (QRM)",
            "Počet stanic:",
            "&Chirp",
            "Posun tónu na začátku značky (Hz):",
            "K&liksy klíčování",
            "Rukop&is:",
            "žádný (přesný model)",
            "dobrá ruka",
            "špatný ruční klíč",
            "bug (strojové tečky, ruční čárky)",
            "Se&mínko:",
            "Pe&vné semínko (jinak nové pro každé vysílání)",
            "Šum, únik, praskání a rušení zní ze zvukové karty a ve zvukových souborech; rukopis "
            "platí pro každý výstup.",
            "Výcho&zí",
            "&OK",
            "&Storno",
            "&Typ úniku (jako na pásmu):",
            "klidné (0,1 Hz, druhá cesta 0,5 ms)",
            "střední (0,5 Hz, druhá cesta 1 ms)",
            "rušné (1 Hz, druhá cesta 2 ms)",
            "flutter (10 Hz)",
            "vlastní",
            "Dopplerův rozptyl úniku (Hz):",
            "Zpoždění druhé cesty (ms, 0 = jedna cesta):",
            "&AGC přijímače:",
            "vypnuto (pevné zesílení)",
            "rychlé",
            "pomalé",
            "Stanice i na &nulovém zázněji (cvičení)",
            "Pil&e-up (volající stanice)"};
}
