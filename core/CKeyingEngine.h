#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "output/CDelayTimer.h"
#include "output/COutputDevice.h"
#include "text/CMorseText.h"

// The single keying engine: holds the current output device, the speeds, tone and dot:dash ratio
// with the durations derived from them, and the text to send. The setters are called on the
// user-interface thread; during a transmission the send thread reads the timing fields, which are
// therefore atomic.
class CKeyingEngine {
public:
    CKeyingEngine();
    virtual ~CKeyingEngine();
    CKeyingEngine(const CKeyingEngine&) = delete;
    CKeyingEngine& operator=(const CKeyingEngine&) = delete;

    // Speeds in characters per minute. While a continuous transmission runs the change is picked
    // up at the next word gap; while a stepping one runs it applies at once.
    void SetTextSpeed(int cpm);
    void SetSignSpeed(int cpm);
    // Reaches the device at once unless a continuous transmission runs (then at the next word gap).
    void SetToneFrequency(int hz);
    // Lengthens the dashes; during continuous sending from the next word gap on. The spacing unit
    // takes the new ratio only at the next RecomputeTiming.
    void SetDashRatio(double ratio);
    void RecomputeTiming();

    // The read-out values; both refresh dot and spacing seconds, never the keying durations.
    int GetEffectiveTextSpeed();
    int GetEffectiveSignSpeed();

    int GetSignSpeed() const { return signSpeed; }
    int GetTextSpeed() const { return textSpeed; }
    int GetToneFrequency() const { return toneFrequency; }
    double GetDotUnits() const { return dotUnits; }
    double GetSpacingUnits() const { return spacingUnits; }
    double GetDashMultiplier() const { return dashMultiplier; }

protected:
    bool SendingContinuously() const { return sending && !stepping; }
    bool SendingStepwise() const { return sending && stepping; }

    std::unique_ptr<COutputDevice> device;
    CDelayTimer delayTimer;

    std::atomic<int> signSpeed{100};
    std::atomic<int> textSpeed{100};
    std::atomic<int> toneFrequency{450};

    std::atomic<bool> sending{false};
    std::atomic<bool> stepping{false};
    std::atomic<bool> timingChanged{false};
    std::atomic<bool> toneChanged{false};
    std::atomic<bool> ratioChanged{false};

    std::atomic<double> dotUnits{0.0};
    std::atomic<double> dashMultiplier{3.0};
    std::atomic<double> dashRatio{3.0};
    std::atomic<double> spacingUnits{0.0};
    std::atomic<double> dotSeconds{0.0};
    std::atomic<double> spacingSeconds{0.0};
};
