#pragma once

#include <string>

#include "output/CKeyLineOutput.h"

class CSystemCalls;

// The PC speaker through the console's KIOCSOUND ioctl, which programs the speaker timer with a
// divisor of its 1193181 Hz clock and switches the tone on (non-zero) or off (zero). The console
// accepts the ioctl even where no speaker driver is loaded, so the output opens only when the
// kernel also lists a PC speaker among its input devices.
class CPortSpeakerOutput : public CKeyLineOutput {
public:
    static constexpr unsigned kTimerClock = 1193181;

    explicit CPortSpeakerOutput(CSystemCalls& systemCalls);
    ~CPortSpeakerOutput() override;

    void SetTone(std::int32_t hz) override;

    unsigned Divisor() const { return divisor; }

    // Whether the kernel's input device list (/proc/bus/input/devices) has a device that can
    // sound a tone, which is how every PC speaker driver registers.
    static bool MachineHasSpeaker(CSystemCalls& calls);

protected:
    int SetLine(bool on) override;

private:
    CSystemCalls& calls;
    int console = -1;
    unsigned divisor = 0;
};
