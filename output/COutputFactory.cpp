#include "output/COutputFactory.h"

#include "output/CBeepSpeakerOutput.h"
#include "output/CPortSpeakerOutput.h"
#include "output/CSerialPortOutput.h"
#include "output/CSoundCardOutput.h"
#include "core/OutputKind.h"

COutputFactory::~COutputFactory() = default;

CSystemOutputFactory::CSystemOutputFactory(CSystemCalls& systemCalls, CNotifier& closeNotifier)
    : calls(systemCalls), notifier(closeNotifier) {}

std::unique_ptr<COutputDevice> CSystemOutputFactory::Create(int kind, const std::string& portName) {
    switch (kind) {
        case kSpeakerOutput: {
            auto console = std::make_unique<CPortSpeakerOutput>(calls);
            if (console->IsOpen()) {
                return console;
            }
            return std::make_unique<CBeepSpeakerOutput>(calls);
        }
        case kSoundCardOutput:
            return std::make_unique<CSoundCardOutput>();
        case kSerialPortOutput:
            return std::make_unique<CSerialPortOutput>(portName, calls, notifier);
        default:
            return nullptr;
    }
}
