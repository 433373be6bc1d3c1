#pragma once

#include <string>

#include "output/COutputDevice.h"

class CNotifier;
class CSystemCalls;

// Keys the DTR line of a serial port: high for exactly as long as each dot or dash. The port is
// held exclusively for the device's life, DTR low except during Key. Only terminal devices are
// opened, so that a hand-edited port name cannot make the program open an arbitrary file.
class CSerialPortOutput : public COutputDevice {
public:
    CSerialPortOutput(const std::string& portName, CSystemCalls& systemCalls, CNotifier& notifier);
    ~CSerialPortOutput() override;

    void Key(std::int32_t durationUnits) override;
    void SetTone(std::int32_t hz) override;
    // DTR goes low, whatever state the line was left in: a transmitter is never left keyed.
    void EndTransmission() override;

    const std::string& PortName() const { return name; }

private:
    void SetDtr(bool high);

    CSystemCalls& calls;
    CNotifier& notifier;
    std::string name;
    int port = -1;
};
