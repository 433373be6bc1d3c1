#pragma once

#include <cstdint>
#include <string>

#include "engine/CTransmissionTimeline.h"

// A transmission as a sound file: the timeline rendered offline by the sound card's own renderer
// (the same edges, the same rounding of every element to its samples), as a WAV file of 44.1 kHz,
// mono, 16-bit samples. The sound begins a tenth of a second into the file and is followed by a
// fifth of a second of silence.
namespace soundfile {

inline constexpr std::int64_t kLeadInSamples = 4410;
inline constexpr std::int64_t kTailSamples = 8820;

// The bytes of the WAV file of `timeline` at `toneHz` and a linear `gain` from 0 to 1.
std::string RenderWav(const CTransmissionTimeline& timeline, int toneHz, float gain);

}  // namespace soundfile
