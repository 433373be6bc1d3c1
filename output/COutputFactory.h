#pragma once

#include <memory>
#include <string>

#include "output/COutputDevice.h"

class CNotifier;
class CSystemCalls;

// Creates the device of an output kind; the seam through which tests give the keying engine
// devices of their own. Called on the user-interface thread.
class COutputFactory {
public:
    virtual ~COutputFactory();
    // A device of `kind` (OutputKind), for kind 2 on `portName`; null for any other kind.
    virtual std::unique_ptr<COutputDevice> Create(int kind, const std::string& portName) = 0;
};

// The real devices: kind 0 the speaker through the console when it can be opened, else through
// its input device; kind 1 the sound card; kind 2 the serial port.
class CSystemOutputFactory : public COutputFactory {
public:
    CSystemOutputFactory(CSystemCalls& systemCalls, CNotifier& notifier);
    std::unique_ptr<COutputDevice> Create(int kind, const std::string& portName) override;

private:
    CSystemCalls& calls;
    CNotifier& notifier;
};
