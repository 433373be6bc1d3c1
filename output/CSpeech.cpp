#include "output/CSpeech.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>

#include "output/CToneRenderer.h"
#include "output/LiquidFilters.h"

namespace {

// Words a minute of the voice: a little slower than its default, to be followed by ear.
constexpr int kWordsPerMinute = 150;
// The level of the voice's loudest sample, against the Morse tone at full scale.
constexpr float kPeak = 0.5F;

int Collect(short* samples, int count, espeak_EVENT* events) {
    if (samples != nullptr && count > 0 && events != nullptr && events->user_data != nullptr) {
        auto& collected = *static_cast<std::vector<float>*>(events->user_data);
        for (int i = 0; i < count; ++i) {
            collected.push_back(static_cast<float>(samples[i]) / 32768.0F);
        }
    }
    return 0;
}

std::mutex& Turn() {
    static std::mutex turn;
    return turn;
}

// Started once; false when espeak-ng cannot start (no data). The synthesiser keeps state from one
// utterance to the next (the flutter of its pitch among it) and cannot be started again, so the
// same texts said in the same order give the same samples: a process that renders a file gives the
// same file every time.
bool Started() {
    static const bool started = [] {
        espeak_ng_InitializePath(nullptr);
        if (espeak_ng_Initialize(nullptr) != ENS_OK ||
            espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr) != ENS_OK) {
            return false;
        }
        espeak_SetSynthCallback(Collect);
        espeak_SetParameter(espeakRATE, kWordsPerMinute, 0);
        return true;
    }();
    return started;
}

// A group's characters apart, so that each is read by its name; a prosign's brackets ("<AR>")
// are not read.
std::string Spelled(std::string_view text) {
    std::string spelled;
    for (const char c : text) {
        if (c == ' ' || c == '<' || c == '>') {
            continue;
        }
        if (!spelled.empty()) {
            spelled += ' ';
        }
        spelled += c;
    }
    return spelled;
}

}  // namespace

std::vector<float> CSpeech::Speak(std::string_view text, Language language, bool spell) {
    const std::lock_guard lock(Turn());
    if (!Started() ||
        espeak_ng_SetVoiceByName(language == Language::Czech ? "cs" : "en") != ENS_OK) {
        return {};
    }
    const std::string said = spell ? Spelled(text) : std::string(text);
    std::vector<float> voice;
    espeak_Synth(said.c_str(), said.size() + 1, 0, POS_CHARACTER, 0,
                 espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, &voice);
    if (voice.empty()) {
        return {};
    }
    std::vector<float> samples =
        Resampled(voice, espeak_ng_GetSampleRate(), CToneRenderer::kSampleRate);
    float peak = 0;
    for (const float s : samples) {
        peak = std::max(peak, std::abs(s));
    }
    if (peak > 0) {
        for (float& s : samples) {
            s *= kPeak / peak;
        }
    }
    return samples;
}
