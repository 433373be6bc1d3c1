#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CTransmissionTimeline.h"

// A practice file that answers itself: after each word (or group) of the Morse, a pause, the word
// spoken, and another pause, so that a listener away from the screen can check what was copied.
namespace soundfile {

struct SpokenAnswers {
    double beforeSeconds = 0.5;  // between the word's last tone and its answer
    double afterSeconds = 1.0;   // between the answer and the next word
};

// The samples a word is spoken as, at 44.1 kHz; none for a word left without an answer.
using Voice = std::function<std::vector<float>(const std::string& word)>;

// The 16-bit samples `morse`, rendered from `timeline` of `text` (with the file's lead-in), with
// each word of `text` spoken by `voice` after its last tone. The start and end signs get no
// answer. `morse` comes back unchanged when the timeline does not hold the text's elements.
std::vector<std::int16_t> WithSpokenWords(std::span<const std::int16_t> morse,
                                          const CTransmissionTimeline& timeline,
                                          std::string_view text, const SpokenAnswers& pauses,
                                          const Voice& voice);

}  // namespace soundfile
