#include "training/CCopyCheck.h"

#include "training/CConfusionTally.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

// One compared unit of a text: a character, or the gap between two groups (any run of spaces and
// line breaks).
struct Token {
    char value;
    std::size_t position;
    bool gap;
};

bool Separates(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

char Folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::vector<Token> Tokens(std::string_view text) {
    std::vector<Token> result;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < CCopyCheck::kMaxCharacters; ++i) {
        if (!Separates(text[i])) {
            result.push_back({Folded(text[i]), i, false});
            ++characters;
        } else if (!result.empty() && !result.back().gap) {
            result.push_back({' ', i, true});
        }
    }
    if (!result.empty() && result.back().gap) {
        result.pop_back();
    }
    return result;
}

// The cost of an alignment is lexicographic: the character errors first, then the tie-breaking
// penalties below, which all together never reach one character error.
using Cost = std::int32_t;
constexpr Cost kError = Cost{1} << 16;
// A wrong character costs one and a half errors: still less than a missed and an extra one in its
// place, so that a slip of the pen stays one wrong character, but more than a missed group
// spread as wrong characters over the group beside it, where the learner skipped the group.
constexpr Cost kWrong = kError + kError / 2;
constexpr Cost kInfinity = std::numeric_limits<Cost>::max() / 4;
// A gap of one text without a gap of the other in its place.
constexpr Cost kLoneGap = 2;
// Each run of missed or extra units.
constexpr Cost kRunOpens = 1;
// A run that begins or ends inside a group (next to a character of the same group).
constexpr Cost kRunSplitsGroup = 2;

// The states of the alignment: the last step paired units (or is the start), missed a sent unit,
// or took an extra copied unit.
enum State : std::uint8_t { kPaired = 0, kMissing = 1, kAdding = 2 };

// The steps into the three states of one cell in a byte, kept for the way back: the state each
// came from (bits 0-1, 3-4, 5-6), and for the paired state whether it was a transposition (two
// units of each text at once, bit 2).
std::uint8_t PackSteps(State paired, bool swap, State missing, State adding) {
    return static_cast<std::uint8_t>(paired | (swap ? 4 : 0) | (missing << 3) | (adding << 5));
}

enum class Operation { Pair, Swap, Miss, Add };

}  // namespace

CCopyCheck::CCopyCheck(std::string_view sent, std::string_view copied) {
    const std::vector<Token> a = Tokens(sent);
    const std::vector<Token> b = Tokens(copied);
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    const std::size_t columns = m + 1;

    // Per unit: whether it is a gap, and whether a run of missed (or extra) units that begins or
    // ends next to it splits a group (it and the unit before it are both characters).
    const auto flags = [](const std::vector<Token>& t) {
        std::vector<std::uint8_t> gap(t.size() + 1, 0);
        std::vector<std::uint8_t> splits(t.size() + 1, 0);
        for (std::size_t k = 0; k < t.size(); ++k) {
            gap[k] = t[k].gap ? 1 : 0;
            splits[k] = k > 0 && !t[k].gap && !t[k - 1].gap ? 1 : 0;
        }
        return std::make_pair(gap, splits);
    };
    const auto [gapA, splitsA] = flags(a);
    const auto [gapB, splitsB] = flags(b);

    // Costs in three rolling rows of three states each (a transposition looks two rows back);
    // the steps for every cell.
    std::vector<Cost> rows(3 * 3 * columns, kInfinity);
    const auto row = [&](std::size_t i) { return rows.data() + (i % 3) * 3 * columns; };
    std::vector<std::uint8_t> steps((n + 1) * columns, 0);

    for (std::size_t i = 0; i <= n; ++i) {
        Cost* here = row(i);
        const Cost* up = i > 0 ? row(i - 1) : nullptr;
        const Cost* up2 = i > 1 ? row(i - 2) : nullptr;
        // Leaving a run of missed units before sent unit i - 1 or of extra ones before copied
        // unit j - 1 in a paired step that takes those units.
        const Cost leaveMissing = i > 0 && splitsA[i - 1] ? kRunSplitsGroup : 0;
        const Cost leaveMissing2 = i > 1 && splitsA[i - 2] ? kRunSplitsGroup : 0;
        const Cost missUnit = i > 0 ? (gapA[i - 1] ? kLoneGap : kError) : 0;
        const Cost openMissing = kRunOpens + (i > 0 && splitsA[i - 1] ? kRunSplitsGroup : 0);
        for (std::size_t j = 0; j <= m; ++j) {
            Cost best[3] = {kInfinity, kInfinity, kInfinity};
            std::uint8_t pairedFrom = kPaired;
            bool swap = false;
            std::uint8_t missingFrom = kPaired;
            std::uint8_t addingFrom = kPaired;
            if (i == 0 && j == 0) {
                best[kPaired] = 0;
            }
            const Cost leaveAdding = j > 0 && splitsB[j - 1] ? kRunSplitsGroup : 0;
            if (i > 0 && j > 0 && gapA[i - 1] == gapB[j - 1]) {
                const Cost step = a[i - 1].value == b[j - 1].value ? 0 : kWrong;
                const Cost* before = up + 3 * (j - 1);
                const Cost options[3] = {before[kPaired] + step,
                                         before[kMissing] + step + leaveMissing,
                                         before[kAdding] + step + leaveAdding};
                for (std::uint8_t from = 0; from < 3; ++from) {
                    if (options[from] < best[kPaired]) {
                        best[kPaired] = options[from];
                        pairedFrom = from;
                    }
                }
            }
            if (i > 1 && j > 1 && !gapA[i - 1] && !gapA[i - 2] && !gapB[j - 1] && !gapB[j - 2] &&
                a[i - 1].value != a[i - 2].value && a[i - 1].value == b[j - 2].value &&
                a[i - 2].value == b[j - 1].value) {
                const Cost* before = up2 + 3 * (j - 2);
                const Cost leaveAdding2 = splitsB[j - 2] ? kRunSplitsGroup : 0;
                const Cost options[3] = {before[kPaired] + kError,
                                         before[kMissing] + kError + leaveMissing2,
                                         before[kAdding] + kError + leaveAdding2};
                for (std::uint8_t from = 0; from < 3; ++from) {
                    if (options[from] < best[kPaired]) {
                        best[kPaired] = options[from];
                        pairedFrom = from;
                        swap = true;
                    }
                }
            }
            if (i > 0) {
                const Cost* before = up + 3 * j;
                const Cost leaveAddingHere = j > 0 && splitsB[j] && j < m ? kRunSplitsGroup : 0;
                const Cost options[3] = {
                    before[kPaired] + missUnit + openMissing, before[kMissing] + missUnit,
                    before[kAdding] + missUnit + openMissing + leaveAddingHere};
                for (const std::uint8_t from : {kMissing, kPaired, kAdding}) {
                    if (options[from] < best[kMissing]) {
                        best[kMissing] = options[from];
                        missingFrom = from;
                    }
                }
            }
            if (j > 0) {
                const Cost* before = here + 3 * (j - 1);
                const Cost addUnit = gapB[j - 1] ? kLoneGap : kError;
                const Cost openAdding = kRunOpens + (splitsB[j - 1] ? kRunSplitsGroup : 0);
                const Cost leaveMissingHere = i > 0 && i < n && splitsA[i] ? kRunSplitsGroup : 0;
                const Cost options[3] = {before[kPaired] + addUnit + openAdding,
                                         before[kMissing] + addUnit + openAdding + leaveMissingHere,
                                         before[kAdding] + addUnit};
                for (const std::uint8_t from : {kAdding, kPaired, kMissing}) {
                    if (options[from] < best[kAdding]) {
                        best[kAdding] = options[from];
                        addingFrom = from;
                    }
                }
            }
            Cost* cell = here + 3 * j;
            for (int state = 0; state < 3; ++state) {
                cell[state] = std::min(best[state], kInfinity);
            }
            steps[i * columns + j] =
                PackSteps(static_cast<State>(pairedFrom), swap, static_cast<State>(missingFrom),
                          static_cast<State>(addingFrom));
        }
    }

    // Back from the end, in the cheapest state there.
    const Cost* last = row(n) + 3 * m;
    State state = kPaired;
    for (const State s : {kPaired, kMissing, kAdding}) {
        if (last[s] < last[state]) {
            state = s;
        }
    }
    std::vector<std::pair<Operation, std::pair<std::size_t, std::size_t>>> path;
    std::size_t i = n;
    std::size_t j = m;
    while (i > 0 || j > 0) {
        const std::uint8_t bits = steps[i * columns + j];
        if (state == kPaired) {
            const bool swapped = (bits & 4) != 0;
            const State from = static_cast<State>(bits & 3);
            if (swapped) {
                i -= 2;
                j -= 2;
                path.push_back({Operation::Swap, {i, j}});
            } else {
                --i;
                --j;
                path.push_back({Operation::Pair, {i, j}});
            }
            state = from;
        } else if (state == kMissing) {
            --i;
            path.push_back({Operation::Miss, {i, j}});
            state = static_cast<State>((bits >> 3) & 3);
        } else {
            --j;
            path.push_back({Operation::Add, {i, j}});
            state = static_cast<State>((bits >> 5) & 3);
        }
    }
    std::reverse(path.begin(), path.end());

    // The marks, with each extra character placed before the next sent unit.
    // The entries of missed sent units and of extra copied units, by unit.
    constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::vector<std::size_t> missedEntry(n, kNone);
    std::vector<std::size_t> extraEntry(m, kNone);
    for (const auto& [operation, at] : path) {
        const auto [ai, bj] = at;
        switch (operation) {
            case Operation::Pair:
                if (!a[ai].gap) {
                    const bool same = a[ai].value == b[bj].value;
                    entries.push_back({same ? Mark::Correct : Mark::Wrong, a[ai].value, b[bj].value,
                                       a[ai].position});
                }
                break;
            case Operation::Swap:
                entries.push_back({Mark::Transposed, a[ai].value, b[bj].value, a[ai].position});
                entries.push_back(
                    {Mark::Transposed, a[ai + 1].value, b[bj + 1].value, a[ai + 1].position});
                ++transpositionCount;
                break;
            case Operation::Miss:
                if (!a[ai].gap) {
                    missedEntry[ai] = entries.size();
                    entries.push_back({Mark::Missed, a[ai].value, 0, a[ai].position});
                }
                break;
            case Operation::Add:
                if (!b[bj].gap) {
                    const std::size_t before = ai < n ? a[ai].position : sent.size();
                    extraEntry[bj] = entries.size();
                    entries.push_back({Mark::Extra, 0, b[bj].value, before});
                }
                break;
        }
    }

    // Groups missed or added whole: every character of the group is marked so.
    const auto markWholeGroups = [&](const std::vector<Token>& t,
                                     const std::vector<std::size_t>& marked) {
        int groups = 0;
        std::size_t start = 0;
        while (start < t.size()) {
            std::size_t end = start;
            bool all = true;
            while (end < t.size() && !t[end].gap) {
                all = all && marked[end] != kNone;
                ++end;
            }
            if (all && end > start) {
                ++groups;
                for (std::size_t k = start; k < end; ++k) {
                    entries[marked[k]].wholeGroup = true;
                }
            }
            start = end + 1;
        }
        return groups;
    };
    missedGroupCount = markWholeGroups(a, missedEntry);
    extraGroupCount = markWholeGroups(b, extraEntry);

    for (const Entry& e : entries) {
        if (e.mark != Mark::Extra) {
            ++sentCount;
            CharacterCount& count = characters[e.sent];
            ++count.sent;
            if (e.mark == Mark::Wrong || e.mark == Mark::Missed) {
                ++count.wrong;
            }
        }
        switch (e.mark) {
            case Mark::Correct:
                ++correctCount;
                break;
            case Mark::Wrong:
                ++wrongCount;
                break;
            case Mark::Missed:
                ++missedCount;
                break;
            case Mark::Extra:
                ++extraCount;
                break;
            case Mark::Transposed:
                break;
        }
    }
}

double CCopyCheck::Score(int correct, int sent, int extra) {
    const int total = sent + extra;
    return total <= 0 ? 0.0 : 100.0 * correct / total;
}

double CCopyCheck::ScorePercent() const {
    return Score(correctCount, sentCount, extraCount);
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
