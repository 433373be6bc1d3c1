#pragma once

#include <string>

#include "output/CKeyLineOutput.h"

class CNotifier;
class CSystemCalls;

// Keys the DTR line of a serial port: high for exactly as long as each dot or dash. The port is
// held exclusively for the device's life, DTR low except while an element is keyed. Only terminal
// devices are opened, so that a hand-edited port name cannot make the program open an arbitrary
// file.
class CSerialPortOutput : public CKeyLineOutput {
public:
    CSerialPortOutput(const std::string& portName, CSystemCalls& systemCalls, CNotifier& notifier);
    ~CSerialPortOutput() override;

    void SetTone(std::int32_t hz) override;

    const std::string& PortName() const { return name; }

protected:
    int SetLine(bool on) override;

private:
    // 0, or the errno of a refused ioctl.
    int SetDtr(bool high);

    CSystemCalls& calls;
    CNotifier& notifier;
    std::string name;
    int port = -1;
};
