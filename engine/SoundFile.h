#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/ReceptionSettings.h"
#include "engine/CTransmissionTimeline.h"
#include "output/CStreamRenderer.h"

// A transmission as a sound file: the timeline rendered offline by the sound card's own renderer
// (the same edges, the same rounding of every element to its samples, the same reception
// conditions from the same seed), as a WAV file of 44.1 kHz, mono, 16-bit samples. The sound
// begins a tenth of a second into the file and is followed by a fifth of a second of silence (of
// the conditions, when they are on), exactly as the sound card plays a transmission under them.
namespace soundfile {

inline constexpr std::int64_t kLeadInSamples = CStreamRenderer::kLeadInSamples;
inline constexpr std::int64_t kTailSamples = CStreamRenderer::kTailSamples;

// Receives the samples of a file in order, a block at a time.
using SampleSink = std::function<void(const float* samples, std::size_t count)>;

// The samples of `timeline` at `toneHz` and a linear `gain` from 0 to 1, heard under `conditions`
// from `seed` (the timeline carries the fist), before they are rounded to 16 bits.
void RenderSamples(const CTransmissionTimeline& timeline, int toneHz, float gain,
                   const ReceptionSettings& conditions, std::uint64_t seed, const SampleSink& sink);

// The bytes of the WAV file of `timeline` at `toneHz` and a linear `gain` from 0 to 1.
std::string RenderWav(const CTransmissionTimeline& timeline, int toneHz, float gain);
// The same heard under `conditions` from `seed`.
std::string RenderWav(const CTransmissionTimeline& timeline, int toneHz, float gain,
                      const ReceptionSettings& conditions, std::uint64_t seed);

}  // namespace soundfile
