#include "engine/CueSounds.h"

#include <algorithm>

#include "core/AsciiText.h"
#include "core/ReceptionSettings.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "output/CSoundCardOutput.h"
#include "output/CToneRenderer.h"
#include "text/CMorseText.h"

namespace cuesounds {

std::vector<float> RenderText(const std::string& text, int signSpeed, int textSpeed, int toneHz,
                              double dashRatio, float gain) {
    CMorseText morse;
    morse.SetKind(kCustomText);
    morse.SetText(AsciiUpper(text));
    const CTransmissionTimeline timeline =
        CTransmissionTimeline::WithoutSigns(morse, signSpeed, textSpeed, dashRatio);
    if (timeline.Tones().empty()) {
        return {};
    }
    std::vector<float> samples;
    soundfile::RenderSamples(timeline, toneHz, gain, ReceptionSettings(), 0,
                             [&samples](const float* block, std::size_t count) {
                                 samples.insert(samples.end(), block, block + count);
                             });
    // The file's lead-in and tail are silence; the sound is its edges and what lies between.
    const CTransmissionTimeline::Tone& firstTone = timeline.Tones().front();
    const CTransmissionTimeline::Tone& lastTone = timeline.Tones().back();
    constexpr std::int64_t kHalfEdge = CToneRenderer::kRampSamples / 2;
    const std::int64_t begin = std::max<std::int64_t>(
        0,
        soundfile::kLeadInSamples + CSoundCardOutput::SamplesFor(firstTone.startUnits) - kHalfEdge);
    const std::int64_t end = std::min<std::int64_t>(
        static_cast<std::int64_t>(samples.size()),
        soundfile::kLeadInSamples +
            CSoundCardOutput::SamplesFor(lastTone.startUnits + lastTone.lengthUnits) + kHalfEdge);
    return {samples.begin() + begin, samples.begin() + end};
}

std::vector<float> WrongAnswerTone(float gain) {
    constexpr std::int64_t kLength =
        std::int64_t{CToneRenderer::kSampleRate} * kWrongToneMilliseconds / 1000;
    constexpr std::int64_t kHalfEdge = CToneRenderer::kRampSamples / 2;
    CToneRenderer renderer;
    renderer.SetGain(gain * kWrongToneLevel);
    std::vector<float> samples(static_cast<std::size_t>(kLength + 2 * kHalfEdge));
    // The renderer reaches its gain after one buffer: render one sample before the tone.
    float warmUp = 0.0F;
    renderer.Render(&warmUp, 1, -1);
    renderer.Push({kHalfEdge, kLength, static_cast<float>(kWrongToneHz)});
    renderer.Render(samples.data(), samples.size(), 0);
    return samples;
}

}  // namespace cuesounds
