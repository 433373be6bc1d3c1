#include "training/CCopyCheck.h"

#include "training/CConfusionTally.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

struct Character {
    char value;
    std::size_t position;
};

bool Separates(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<Character> Compared(std::string_view text) {
    std::vector<Character> result;
    for (std::size_t i = 0; i < text.size() && result.size() < CCopyCheck::kMaxCharacters; ++i) {
        if (!Separates(text[i])) {
            result.push_back({Folded(text[i]), i});
        }
    }
    return result;
}

}  // namespace

CCopyCheck::CCopyCheck(std::string_view sent, std::string_view copied) {
    const std::vector<Character> a = Compared(sent);
    const std::vector<Character> b = Compared(copied);
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    // cost[i][j]: the fewest edits that turn the first i sent characters into the first j copied.
    // Both lengths are bounded, so 16 bits hold every cost.
    const std::size_t columns = m + 1;
    std::vector<std::uint16_t> cost((n + 1) * columns);
    const auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t& {
        return cost[i * columns + j];
    };
    for (std::size_t i = 0; i <= n; ++i) {
        at(i, 0) = static_cast<std::uint16_t>(i);
    }
    for (std::size_t j = 0; j <= m; ++j) {
        at(0, j) = static_cast<std::uint16_t>(j);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const int diagonal = at(i - 1, j - 1) + (a[i - 1].value == b[j - 1].value ? 0 : 1);
            const int missed = at(i - 1, j) + 1;
            const int extra = at(i, j - 1) + 1;
            at(i, j) = static_cast<std::uint16_t>(std::min({diagonal, missed, extra}));
        }
    }

    // Back from the end: a character for a character where that is as cheap, then a missed
    // character, then an extra one.
    std::size_t i = n;
    std::size_t j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 &&
            at(i, j) == at(i - 1, j - 1) + (a[i - 1].value == b[j - 1].value ? 0 : 1)) {
            const bool same = a[i - 1].value == b[j - 1].value;
            entries.push_back({same ? Mark::Correct : Mark::Wrong, a[i - 1].value, b[j - 1].value,
                               a[i - 1].position});
            --i;
            --j;
        } else if (i > 0 && at(i, j) == at(i - 1, j) + 1) {
            entries.push_back({Mark::Missed, a[i - 1].value, 0, a[i - 1].position});
            --i;
        } else {
            const std::size_t before = i < n ? a[i].position : sent.size();
            entries.push_back({Mark::Extra, 0, b[j - 1].value, before});
            --j;
        }
    }
    std::reverse(entries.begin(), entries.end());

    for (const Entry& entry : entries) {
        if (entry.mark != Mark::Extra) {
            ++sentCount;
            CharacterCount& count = characters[entry.sent];
            ++count.sent;
            if (entry.mark != Mark::Correct) {
                ++count.wrong;
            }
        }
        if (entry.mark == Mark::Correct) {
            ++correctCount;
        } else {
            ++errorCount;
        }
    }
}

double CCopyCheck::ScorePercent() const {
    return ::ScorePercent(correctCount, sentCount);
}

std::vector<CCopyCheck::Confusion> CCopyCheck::Confusions() const {
    CConfusionTally tally;
    for (const Entry& entry : entries) {
        if (entry.mark == Mark::Wrong) {
            tally.Add(entry.sent, entry.copied, 1);
        }
    }
    return tally.Sorted();
}
