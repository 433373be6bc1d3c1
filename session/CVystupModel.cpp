#include "session/CVystupModel.h"

#include <algorithm>

#include "core/OutputKind.h"
#include "session/CMorseSession.h"

CVystupModel::CVystupModel(CMorseSession& morseSession, std::vector<std::string> portNames)
    : session(morseSession), ports(std::move(portNames)), kind(session.OutputInUse()) {
    if (kind == kSerialPortOutput) {
        // The port in use, by its last place in the list; the first when the machine lacks it.
        const auto found = std::find(ports.rbegin(), ports.rend(), session.PortName());
        portIndex = found == ports.rend() ? 0 : static_cast<int>(ports.rend() - found) - 1;
    }
}

void CVystupModel::ChooseKind(int chosen) {
    if (chosen >= kSpeakerOutput && chosen <= kSerialPortOutput) {
        kind = chosen;
    }
}

void CVystupModel::ChoosePort(int index) {
    if (index >= 0 && static_cast<std::size_t>(index) < ports.size()) {
        portIndex = index;
    }
}

bool CVystupModel::Accept() {
    const std::string port = kind == kSerialPortOutput && !ports.empty()
                                 ? ports[static_cast<std::size_t>(portIndex)]
                                 : std::string();
    return session.ChooseOutput(kind, port);
}

CVystupModel::View CVystupModel::GetView() const {
    return {kind, portIndex, kind == kSerialPortOutput};
}
