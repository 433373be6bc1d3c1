#pragma once

#include <string_view>

// The word lists shipped in res/slova, built into the program: one word in capitals per line.
std::string_view CzechWords();
std::string_view EnglishWords();

// Whether `word` (in capitals) is a word of the Czech list, or of the English one.
bool IsListedWord(std::string_view word, bool english);
