#include "app/MachineParts.h"

#include "engine/CKeyingEngine.h"
#include "output/COutputFactory.h"
#include "output/CSoundCardCuePlayer.h"
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
}
