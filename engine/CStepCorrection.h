#pragma once

#include <cstdint>

class CTimeSource;

// Self-correcting timing of one loop over the element string: each step is measured, small
// deviations are carried into the following durations (the running correction C), a step that was
// more than 2 ms short is padded with a wait, and an overrun of more than 2 ms is made good by
// shortening each of the next K steps by 1 ms, its rest below a millisecond by the next step.
// Used on the send thread only.
class CStepCorrection {
public:
    // The duration to hand to the device or timer for a step of nominal `lengthUnits`; adds what
    // the step is expected to take to `expectedUnits`.
    std::int32_t Shorten(double lengthUnits, std::int64_t& expectedUnits) const;
    // Takes in a measured step's deviation from its expected length, in 100-ns units; returns
    // how long it waited to pad a short step (0 when it did not).
    std::int32_t Apply(std::int64_t deviationUnits, CTimeSource& time);

private:
    double running = 0.0;
    std::int64_t catchUp = 0;
};

// Durations go to devices and timers as 32-bit counts of 100-ns units, truncated toward zero;
// values beyond the 32-bit range are held at its ends.
std::int32_t TruncateUnits(double units);
