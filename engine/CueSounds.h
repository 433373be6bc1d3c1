#pragma once

#include <string>
#include <vector>

// The short sounds played outside a transmission, as samples for a CCuePlayer (44.1 kHz, mono):
// a text keyed on its own, and the quiet tone of a wrong answer. Any thread.
namespace cuesounds {

// The wrong answer's tone: its own low pitch, clearly not a character's, about 150 ms.
inline constexpr int kWrongToneHz = 220;
inline constexpr int kWrongToneMilliseconds = 150;
// It is quieter than the characters by this factor of their gain.
inline constexpr float kWrongToneLevel = 0.35F;

// `text` (a character, a callsign: letters, digits and the signs with a code, spaces between
// words) at these speeds in characters a minute, tone and dot : dash ratio and a linear `gain`
// from 0 to 1, rendered exactly as the sound card keys it, without the start and end signs and
// without conditions. The samples begin with the first element's rising edge and end with the
// last sample of the last element's falling edge, so that the end of the sound is the end of the
// last element as heard. Empty when the text has nothing to key.
std::vector<float> RenderText(const std::string& text, int signSpeed, int textSpeed, int toneHz,
                              double dashRatio, float gain);

// The wrong answer's tone at a linear `gain` (the characters' gain) from 0 to 1.
std::vector<float> WrongAnswerTone(float gain);

}  // namespace cuesounds
