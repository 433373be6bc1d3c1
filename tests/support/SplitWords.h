#pragma once

#include <string>
#include <vector>

// The words of `line`, split at spaces.
inline std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    for (const char c : line + ' ') {
        if (c != ' ') {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}
