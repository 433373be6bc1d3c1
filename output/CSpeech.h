#pragma once

#include <string_view>
#include <vector>

// Short texts spoken by espeak-ng, as samples at the sound card's rate: the answers read out after
// each group or word of a practice file. The synthesiser is one per process; calls from several
// threads take turns.
class CSpeech {
public:
    enum class Language { Czech, English };

    // `text` spoken in `language`, letter by letter when `spell` (a group of random characters),
    // else as words, at 44.1 kHz with peaks at about half of full scale. Empty when the synthesiser
    // or the language's voice is missing.
    static std::vector<float> Speak(std::string_view text, Language language, bool spell);
};
