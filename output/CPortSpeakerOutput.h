#pragma once

#include <string>

#include "output/COutputDevice.h"

class CSystemCalls;

// The PC speaker through the console's KIOCSOUND ioctl, which programs the speaker timer with a
// divisor of its 1193181 Hz clock and switches the tone on (non-zero) or off (zero). Opened only
// when a console accepts the ioctl.
class CPortSpeakerOutput : public COutputDevice {
public:
    static constexpr unsigned kTimerClock = 1193181;

    explicit CPortSpeakerOutput(CSystemCalls& systemCalls);
    ~CPortSpeakerOutput() override;

    void Key(std::int32_t durationUnits) override;
    void SetTone(std::int32_t hz) override;

    unsigned Divisor() const { return divisor; }

private:
    CSystemCalls& calls;
    int console = -1;
    unsigned divisor = 0;
};
