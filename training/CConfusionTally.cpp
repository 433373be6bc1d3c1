#include "training/CConfusionTally.h"

#include <algorithm>

void CConfusionTally::Add(char sent, char copied, int count) {
    counts[{sent, copied}] += count;
}

std::vector<CCopyCheck::Confusion> CConfusionTally::Sorted() const {
    std::vector<CCopyCheck::Confusion> result;
    for (const auto& [pair, count] : counts) {
        result.push_back({pair.first, pair.second, count});
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const auto& a, const auto& b) { return a.count > b.count; });
    return result;
}
