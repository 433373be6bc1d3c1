#include "engine/SoundFile.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "output/CReceptionConditions.h"
#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"

namespace soundfile {

namespace {

constexpr std::size_t kBlockSamples = 4096;

void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
    for (int k = 0; k < size; ++k) {
        bytes.push_back(static_cast<char>((value >> (8 * k)) & 0xFFU));
    }
}

}  // namespace

void RenderSamples(const CTransmissionTimeline& timeline, int toneHz, float gain,
                   const ReceptionSettings& conditions, std::uint64_t seed,
                   const SampleSink& sink) {
    const auto& tones = timeline.Tones();
    const std::int64_t total =
        kLeadInSamples + CSoundCardOutput::SamplesFor(timeline.EndUnits()) + kTailSamples;
    CStreamRenderer renderer;
    renderer.SetGain(gain);
    // The renderer starts at its target gain only after a first buffer: render one of silence
    // before the file begins.
    std::vector<float> block(kBlockSamples);
    renderer.Render(block.data(), 1, -1);
    if (conditions.ChangesSound()) {
        // The conditions begin with the file, a lead-in before the first tone, as the sound card
        // begins them.
        renderer.BeginConditions(std::make_unique<CReceptionConditions>(
                                     conditions, seed, toneHz, gain, CToneRenderer::kSampleRate),
                                 0);
        renderer.EndConditions(total);
    }

    std::size_t next = 0;
    for (std::int64_t first = 0; first < total; first += kBlockSamples) {
        const auto frames =
            static_cast<std::size_t>(std::min<std::int64_t>(kBlockSamples, total - first));
        // Queue the tones that begin before the end of the next block, as the sound card's lead
        // would have them queued, within the queue's room.
        while (next < tones.size()) {
            // Both edges rounded to their samples, exactly as the sound card places them.
            const std::int64_t start =
                kLeadInSamples + CSoundCardOutput::SamplesFor(tones[next].startUnits);
            const std::int64_t end =
                kLeadInSamples +
                CSoundCardOutput::SamplesFor(tones[next].startUnits + tones[next].lengthUnits);
            if (start >= first + 2 * static_cast<std::int64_t>(kBlockSamples) ||
                (end > start && !renderer.Push({start, end - start, static_cast<float>(toneHz)}))) {
                break;
            }
            ++next;
        }
        renderer.Render(block.data(), frames, first);
        sink(block.data(), frames);
    }
}

std::string RenderWav(const CTransmissionTimeline& timeline, int toneHz, float gain) {
    return RenderWav(timeline, toneHz, gain, ReceptionSettings(), 0);
}

std::string RenderWav(const CTransmissionTimeline& timeline, int toneHz, float gain,
                      const ReceptionSettings& conditions, std::uint64_t seed) {
    const std::int64_t total =
        kLeadInSamples + CSoundCardOutput::SamplesFor(timeline.EndUnits()) + kTailSamples;
    std::string bytes;
    const auto dataBytes = static_cast<std::uint32_t>(total * 2);
    bytes.reserve(44 + dataBytes);
    bytes += "RIFF";
    PutLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    PutLittleEndian(bytes, 16, 4);
    PutLittleEndian(bytes, 1, 2);  // PCM
    PutLittleEndian(bytes, 1, 2);  // mono
    PutLittleEndian(bytes, CToneRenderer::kSampleRate, 4);
    PutLittleEndian(bytes, CToneRenderer::kSampleRate * 2, 4);
    PutLittleEndian(bytes, 2, 2);
    PutLittleEndian(bytes, 16, 2);
    bytes += "data";
    PutLittleEndian(bytes, dataBytes, 4);
    RenderSamples(timeline, toneHz, gain, conditions, seed,
                  [&bytes](const float* samples, std::size_t count) {
                      for (std::size_t i = 0; i < count; ++i) {
                          const float clamped = std::clamp(samples[i], -1.0F, 1.0F);
                          const auto value =
                              static_cast<std::int16_t>(std::lround(clamped * 32767.0F));
                          PutLittleEndian(bytes, static_cast<std::uint16_t>(value), 2);
                      }
                  });
    return bytes;
}

}  // namespace soundfile
