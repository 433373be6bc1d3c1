#pragma once

#include "output/COutputDevice.h"

class CSystemCalls;

// The PC speaker through its input device (EV_SND, SND_TONE): Key sounds the stored frequency for
// the duration in whole milliseconds, truncated, and returns when the beep is over. Opened only
// when an input device with a tone generator is found.
class CBeepSpeakerOutput : public COutputDevice {
public:
    explicit CBeepSpeakerOutput(CSystemCalls& systemCalls,
                                const std::string& inputFolder = "/dev/input");
    ~CBeepSpeakerOutput() override;

    void Key(std::int32_t durationUnits) override;
    void SetTone(std::int32_t hz) override;
    void EndTransmission() override;

    // The milliseconds a Key of `durationUnits` sounds.
    static std::int32_t BeepMilliseconds(std::int32_t durationUnits) {
        return durationUnits / 10000;
    }

private:
    void Tone(std::int32_t hz);

    CSystemCalls& calls;
    int speaker = -1;
    // The tone of the following Key calls, in Hz.
    std::int32_t frequency = 450;
};
