#include "training/CInstantRecognition.h"

#include <algorithm>

#include "core/AsciiText.h"
#include "core/CMorseTable.h"

CInstantRecognition::CInstantRecognition(const std::string& set, int limitMilliseconds,
                                         std::uint32_t seed)
    : limit(limitMilliseconds), random(seed) {
    for (const char c : AsciiUpper(set)) {
        const bool known = std::any_of(characters.begin(), characters.end(),
                                       [c](const Character& k) { return k.character == c; });
        if (c != ' ' && CMorseTable::HasCode(c) && !known) {
            Character entry;
            entry.character = c;
            characters.push_back(entry);
        }
    }
}

char CInstantRecognition::Next() {
    if (characters.empty()) {
        return ' ';
    }
    ++turn;
    // A character answered wrongly comes first once it is due; otherwise the one due earliest,
    // a random one of those due alike. The character just keyed waits while there are others.
    const auto eligible = [this](std::size_t k) {
        return !(asked && k == current && characters.size() > 1);
    };
    bool wrongDue = false;
    std::int64_t earliest = 0;
    bool any = false;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        const Character& c = characters[k];
        if (!eligible(k)) {
            continue;
        }
        wrongDue = wrongDue || (c.lastWrong && c.due <= turn);
        earliest = any ? std::min(earliest, c.due) : c.due;
        any = true;
    }
    std::vector<std::size_t> candidates;
    for (std::size_t k = 0; k < characters.size(); ++k) {
        const Character& c = characters[k];
        if (eligible(k) && (wrongDue ? c.lastWrong && c.due <= turn : c.due == earliest)) {
            candidates.push_back(k);
        }
    }
    current = candidates[static_cast<std::size_t>(random.Next()) % candidates.size()];
    asked = true;
    return characters[current].character;
}

CInstantRecognition::Verdict CInstantRecognition::Answer(char typed,
                                                         std::optional<int> reactionMilliseconds) {
    if (characters.empty()) {
        return Verdict::Wrong;
    }
    Character& c = characters[current];
    ++c.answers;
    const bool right = AsciiUpper(typed) == c.character;
    const std::int64_t others = static_cast<std::int64_t>(characters.size());
    Verdict verdict = Verdict::Right;
    if (!right) {
        // Back after two others.
        ++c.errors;
        c.lastWrong = true;
        c.interval = 1;
        c.due = turn + 3;
        quickInARow = 0;
        verdict = Verdict::Wrong;
    } else {
        c.lastWrong = false;
        if (reactionMilliseconds) {
            c.reactions.push_back(*reactionMilliseconds);
        } else {
            ++c.early;
        }
        if (reactionMilliseconds && *reactionMilliseconds > limit) {
            // Back after a few others, before the ones answered quickly.
            c.interval = 2;
            c.due = turn + std::min<std::int64_t>(5, others);
            quickInARow = 0;
            verdict = Verdict::Slow;
        } else {
            // Each quick answer in a row puts the character further back.
            c.interval = std::min(c.interval * 2, 4 * others);
            c.due = turn + std::max(others, c.interval);
            if (++quickInARow == kQuickAnswersPerStep) {
                quickInARow = 0;
                ++speedSteps;
            }
        }
    }
    return verdict;
}

std::optional<int> CInstantRecognition::MedianMilliseconds(char character) const {
    for (const Character& c : characters) {
        if (c.character == character && !c.reactions.empty()) {
            std::vector<int> sorted = c.reactions;
            std::sort(sorted.begin(), sorted.end());
            const std::size_t middle = sorted.size() / 2;
            return sorted.size() % 2 == 1 ? sorted[middle]
                                          : (sorted[middle - 1] + sorted[middle]) / 2;
        }
    }
    return std::nullopt;
}

int CInstantRecognition::Answers(char character) const {
    for (const Character& c : characters) {
        if (c.character == character) {
            return c.answers;
        }
    }
    return 0;
}

int CInstantRecognition::Errors(char character) const {
    for (const Character& c : characters) {
        if (c.character == character) {
            return c.errors;
        }
    }
    return 0;
}

int CInstantRecognition::ReactionMilliseconds(std::int64_t soundEndNanoseconds,
                                              std::int64_t pressNanoseconds) {
    const std::int64_t elapsed = std::max<std::int64_t>(0, pressNanoseconds - soundEndNanoseconds);
    constexpr std::int64_t kStep = std::int64_t{kResolutionMilliseconds} * 1'000'000;
    return static_cast<int>((elapsed + kStep / 2) / kStep * kResolutionMilliseconds);
}

int CInstantRecognition::Early(char character) const {
    for (const Character& c : characters) {
        if (c.character == character) {
            return c.early;
        }
    }
    return 0;
}
