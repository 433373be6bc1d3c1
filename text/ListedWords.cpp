#include <algorithm>
#include <unordered_set>

#include "text/WordLists.h"

namespace {

std::unordered_set<std::string_view> WordsOf(std::string_view list) {
    std::unordered_set<std::string_view> words;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = std::min(list.find('\n', start), list.size());
        std::string_view word = list.substr(start, end - start);
        if (!word.empty() && word.back() == '\r') {
            word.remove_suffix(1);
        }
        if (!word.empty()) {
            words.insert(word);
        }
        start = end + 1;
    }
    return words;
}

}  // namespace

bool IsListedWord(std::string_view word, bool english) {
    static const std::unordered_set<std::string_view> czech = WordsOf(CzechWords());
    static const std::unordered_set<std::string_view> englishWords = WordsOf(EnglishWords());
    return (english ? englishWords : czech).count(word) != 0;
}
