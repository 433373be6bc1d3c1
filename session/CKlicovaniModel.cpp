#include "session/CKlicovaniModel.h"

#include <algorithm>
#include <utility>

namespace {

int IndexOfKey(int keysym) {
    const auto& keys = CKlicovaniModel::kKeys;
    const auto* found = std::find(keys.begin(), keys.end(), keysym);
    return found == keys.end() ? -1 : static_cast<int>(found - keys.begin());
}

bool ValidKey(int index) {
    return index >= 0 && index < static_cast<int>(CKlicovaniModel::kKeys.size());
}

}  // namespace

CKlicovaniModel::CKlicovaniModel(const KeyingSettings& start, std::vector<std::string> ports)
    : settings(start), machinePorts(std::move(ports)) {}

void CKlicovaniModel::ChooseInput(int index) {
    settings.input =
        static_cast<KeyInput>(std::clamp(index, 0, static_cast<int>(KeyInput::kSerial)));
}

void CKlicovaniModel::ChooseMode(int index) {
    settings.mode =
        static_cast<KeyerMode>(std::clamp(index, 0, static_cast<int>(KeyerMode::kIambicB)));
}

void CKlicovaniModel::ChooseStraightKey(int index) {
    if (ValidKey(index)) {
        settings.straightKey = kKeys[static_cast<std::size_t>(index)];
    }
}

void CKlicovaniModel::ChooseDotKey(int index) {
    if (ValidKey(index)) {
        settings.dotKey = kKeys[static_cast<std::size_t>(index)];
    }
}

void CKlicovaniModel::ChooseDashKey(int index) {
    if (ValidKey(index)) {
        settings.dashKey = kKeys[static_cast<std::size_t>(index)];
    }
}

void CKlicovaniModel::ChoosePort(int index) {
    const std::vector<std::string> ports = Ports();
    if (index >= 0 && index < static_cast<int>(ports.size())) {
        settings.port = ports[static_cast<std::size_t>(index)];
    }
}

void CKlicovaniModel::SetSwap(bool swap) {
    settings.swapLines = swap;
}

void CKlicovaniModel::SetSidetone(bool on) {
    settings.sidetone = on;
}

std::vector<std::string> CKlicovaniModel::Ports() const {
    std::vector<std::string> ports = machinePorts;
    if (!settings.port.empty() &&
        std::find(ports.begin(), ports.end(), settings.port) == ports.end()) {
        ports.push_back(settings.port);
    }
    return ports;
}

CKlicovaniModel::View CKlicovaniModel::GetView() const {
    View view;
    view.settings = settings;
    view.straightKey = IndexOfKey(settings.straightKey);
    view.dotKey = IndexOfKey(settings.dotKey);
    view.dashKey = IndexOfKey(settings.dashKey);
    const bool keyboard = settings.input == KeyInput::kKeyboard;
    view.straightKeyEnabled = keyboard && settings.mode == KeyerMode::kStraight;
    view.leversEnabled = keyboard && settings.mode != KeyerMode::kStraight;
    view.portEnabled = settings.input == KeyInput::kSerial;
    view.ports = Ports();
    const auto found = std::find(view.ports.begin(), view.ports.end(), settings.port);
    view.port = found == view.ports.end() ? -1 : static_cast<int>(found - view.ports.begin());
    return view;
}

void CKlicovaniModel::SetCaptions(CaptionList languageCaptions) {
    if (languageCaptions.size() == kCaptionCount) {
        captions = std::move(languageCaptions);
    }
}

std::string CKlicovaniModel::InputDescription() const {
    const auto plain = [this](Caption caption) {
        std::string text;
        for (const char c : captions[caption]) {
            if (c != '&') {
                text += c;
            }
        }
        while (!text.empty() && (text.back() == ':' || text.back() == ' ')) {
            text.pop_back();
        }
        return text;
    };
    const auto key = [this](int keysym) {
        const auto* found = std::find(kKeys.begin(), kKeys.end(), keysym);
        return found == kKeys.end()
                   ? std::to_string(keysym)
                   : captions[kKeyLeftControl + static_cast<std::size_t>(found - kKeys.begin())];
    };
    switch (settings.input) {
        case KeyInput::kKeyboard:
            if (settings.mode == KeyerMode::kStraight) {
                return plain(kStraightKey) + ": " + key(settings.straightKey);
            }
            return plain(kDotKey) + ": " + key(settings.dotKey) + ", " + plain(kDashKey) + ": " +
                   key(settings.dashKey);
        case KeyInput::kMouse:
            return plain(kInputMouse);
        case KeyInput::kSerial:
            return plain(kInputSerial) + " " + settings.port;
    }
    return {};
}

CaptionList CKlicovaniModel::CzechCaptions() {
    return {"Klíčování",
            "Klíč &je:",
            "klávesa klávesnice",
            "tlačítka myši v ploše pro klíčování",
            "linky CTS a DSR sériového portu",
            "&Způsob:",
            "ruční klíč",
            "jambický klíč, režim A",
            "jambický klíč, režim B",
            "&Klávesa klíče:",
            "Klávesa &tečky:",
            "Klávesa čá&rky:",
            "levý Ctrl",
            "pravý Ctrl",
            "levý Shift",
            "pravý Shift",
            "levý Alt",
            "mezerník",
            "Z",
            "X",
            "Sériový &port:",
            "Tečka na &DSR, čárka na CTS (jinak obráceně)",
            "Příposlech na zvukové k&artě",
            "Klávesy, tlačítka myši nebo linky portu čte okno Vysílání klíčem. Ruční klíč na myši "
            "je levé tlačítko, na portu linka tečky.",
            "&OK",
            "&Storno",
            "Příposlech i na P&C reproduktoru"};
}
