#pragma once

#include <vector>

// The signal-to-noise ratio of a steady tone as a receiver's user means it: the tone's power
// against the noise's power in a 500 Hz bandwidth, the noise density measured where the
// receiver's passband is flat (within `flatHalfWidthHz` of the tone, away from the tone's own
// bins). `heard` is the rendered sound, `noiseAlone` the same rendering (same seed) of silence:
// the receiver is linear, so their difference is the tone alone, and the tone's power is measured
// without the noise that shares its bins. Hann-windowed FFTs (liquid-dsp's) of the largest
// power-of-two length that fits.
double MeasurePassbandSnrDb(const std::vector<float>& heard, const std::vector<float>& noiseAlone,
                            double toneHz, double sampleRate, double flatHalfWidthHz);
