#pragma once

#include "output/COutputDevice.h"

class CSystemCalls;

// The first input device of `inputFolder` with a tone generator (EV_SND, SND_TONE), opened for
// writing; -1 when there is none.
int OpenToneSpeaker(CSystemCalls& calls, const std::string& inputFolder = "/dev/input");
// Sounds `hz` on it until the next call; 0 silences it. False when the device refused it.
bool SoundSpeakerTone(CSystemCalls& calls, int speaker, std::int32_t hz);

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
