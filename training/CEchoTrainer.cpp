#include "training/CEchoTrainer.h"

#include <algorithm>
#include <cctype>

#include "core/AsciiText.h"
#include "text/CTrafficText.h"

namespace {

// The set as capitals, without spaces and characters without a code of their own.
std::string Usable(const std::string& set) {
    std::string usable;
    for (const char c : AsciiUpper(set)) {
        if (c != ' ' && static_cast<unsigned char>(c) > ' ') {
            usable += c;
        }
    }
    return usable;
}

std::string WithoutSpaces(std::string_view text) {
    std::string kept;
    for (const char c : text) {
        if (c != ' ') {
            kept += c;
        }
    }
    return AsciiUpper(kept);
}

}  // namespace

CEchoTrainer::CEchoTrainer(const EchoSettings& settings)
    : characters(Usable(settings.characters)),
      kind(settings.item),
      random(settings.seed),
      speed(std::clamp(settings.startSpeed, kLowestSpeed, kHighestSpeed)) {
    if (kind == EchoItem::kWord) {
        std::size_t begin = 0;
        const std::string_view list = settings.wordList;
        while (begin < list.size()) {
            std::size_t end = list.find('\n', begin);
            if (end == std::string_view::npos) {
                end = list.size();
            }
            std::string word(list.substr(begin, end - begin));
            while (!word.empty() && (word.back() == '\r' || word.back() == ' ')) {
                word.pop_back();
            }
            if (!word.empty() && std::all_of(word.begin(), word.end(), [this](char c) {
                    return characters.find(c) != std::string::npos;
                })) {
                words.push_back(word);
            }
            begin = end + 1;
        }
    }
    Draw();
}

char CEchoTrainer::Character() {
    return characters[static_cast<std::size_t>(
        random.NextBelow(static_cast<int>(std::min<std::size_t>(characters.size(), 32768))))];
}

void CEchoTrainer::Draw() {
    item.clear();
    if (kind == EchoItem::kCallsign) {
        item = CTrafficText::Callsign(random);
        return;
    }
    if (characters.empty()) {
        return;
    }
    if (kind == EchoItem::kWord && !words.empty()) {
        item = words[static_cast<std::size_t>(
            random.NextBelow(static_cast<int>(std::min<std::size_t>(words.size(), 32768))))];
        return;
    }
    const std::size_t length = kind == EchoItem::kCharacter ? 1 : kGroupLength;
    while (item.size() < length) {
        item += Character();
    }
}

bool CEchoTrainer::Judge(std::string_view read) {
    const bool sentRight = !item.empty() && WithoutSpaces(read) == item;
    if (sentRight) {
        speed = std::min(kHighestSpeed, speed + kSpeedStep);
        Draw();
    } else {
        speed = std::max(kLowestSpeed, speed - kSpeedStep);
    }
    return sentRight;
}
