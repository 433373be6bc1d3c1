#pragma once

#include <cstddef>
#include <string>

// One step of the sent marking over the display text (the text in lines of 60 characters with
// CR LF after each): given the position `p` that the next progress signal belongs to, returns the
// position of the last character to mark. A space stands for a whole run of spaces and line
// breaks unless every space is its own signal; a line break goes with the character after it.
// The result is never beyond the last character of a non-empty text.
std::size_t SentPositionFor(const std::string& display, std::size_t p, bool eachSpaceSignalled);
