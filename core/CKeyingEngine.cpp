#include "core/CKeyingEngine.h"

#include "core/Timing.h"

CKeyingEngine::CKeyingEngine() : device(std::make_unique<COutputDevice>()) {}

CKeyingEngine::~CKeyingEngine() = default;

void CKeyingEngine::SetTextSpeed(int cpm) {
    textSpeed = cpm;
    if (SendingStepwise()) {
        RecomputeTiming();
    } else if (SendingContinuously()) {
        timingChanged = true;
    }
}

void CKeyingEngine::SetSignSpeed(int cpm) {
    signSpeed = cpm;
    if (SendingStepwise()) {
        RecomputeTiming();
    } else if (SendingContinuously()) {
        timingChanged = true;
    }
}

void CKeyingEngine::SetToneFrequency(int hz) {
    toneFrequency = hz;
    if (SendingContinuously()) {
        toneChanged = true;
    } else {
        device->SetTone(hz);
    }
}

void CKeyingEngine::SetDashRatio(double ratio) {
    dashRatio = ratio;
    if (SendingContinuously()) {
        ratioChanged = true;
    } else {
        dashMultiplier = ratio;
    }
}

void CKeyingEngine::RecomputeTiming() {
    const TimingValues timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    dotSeconds = timing.dotSeconds;
    spacingSeconds = timing.spacingSeconds;
    dotUnits = timing.dotUnits;
    spacingUnits = timing.spacingUnits;
}

int CKeyingEngine::GetEffectiveTextSpeed() {
    const TimingValues timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    dotSeconds = timing.dotSeconds;
    spacingSeconds = timing.spacingSeconds;
    return EffectiveTextSpeed(timing, dashRatio);
}

int CKeyingEngine::GetEffectiveSignSpeed() {
    const TimingValues timing = ComputeTiming(signSpeed, textSpeed, dashRatio);
    dotSeconds = timing.dotSeconds;
    spacingSeconds = timing.spacingSeconds;
    return EffectiveSignSpeed(timing, dashRatio);
}
