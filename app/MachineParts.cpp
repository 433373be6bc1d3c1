#include "app/MachineParts.h"

#include "engine/CKeyingEngine.h"
#include "output/COutputFactory.h"
#include "output/CSerialKeyLines.h"
#include "output/CSoundCardCuePlayer.h"
#include "output/CSoundCardSidetone.h"
#include "output/CSpeakerSidetone.h"
#include "output/CSystemCalls.h"
#include "output/MonotonicClock.h"
#include "output/SerialPorts.h"
#include "ui/CMorseDlg.h"

void AddMachineParts(DialogEnvironment& environment) {
    environment.engines = [](CEngineListener* listener, CNotifier& notifier) {
        return std::make_shared<CKeyingEngine>(
            listener, nullptr, nullptr,
            std::make_unique<CSystemOutputFactory>(CPosixSystemCalls::Instance(), notifier));
    };
    environment.cuePlayers = [] { return std::make_unique<CSoundCardCuePlayer>(); };
    environment.serialPorts = [] {
        QStringList ports;
        for (const std::string& port : ListSerialPorts(CPosixSystemCalls::Instance())) {
            ports << QString::fromStdString(port);
        }
        return ports;
    };
    environment.pressClock = &MonotonicNanoseconds;
    environment.keyingPorts = [] {
        std::vector<std::string> paths;
        for (const std::string& port : ListSerialPorts(CPosixSystemCalls::Instance())) {
            if (const std::optional<std::string> path = SerialDevicePath(port)) {
                paths.push_back(*path);
            }
        }
        return paths;
    };
    environment.sidetones = [](const KeyingSettings& keying) {
        auto sidetones = std::make_unique<CSidetoneSet>();
        if (keying.sidetone) {
            sidetones->Add(std::make_unique<CSoundCardSidetone>());
        }
        if (keying.speakerSidetone) {
            sidetones->Add(std::make_unique<CSpeakerSidetone>(CPosixSystemCalls::Instance()));
        }
        return sidetones;
    };
    environment.keyLines = [](const KeyingSettings& keying) {
        return std::make_unique<CSerialKeyLines>(keying.port, keying.swapLines,
                                                 CPosixSystemCalls::Instance());
    };
}
