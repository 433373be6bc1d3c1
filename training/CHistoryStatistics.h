#pragma once

#include <vector>

#include "training/CheckRecord.h"

// Figures over the history of copy checks: each character's error rate and the confusions of
// the last checks. Plain data; any thread.
class CHistoryStatistics {
public:
    struct CharacterRate {
        char character;
        int sent;
        int wrong;
        double Rate() const { return sent == 0 ? 0.0 : static_cast<double>(wrong) / sent; }
    };

    explicit CHistoryStatistics(const std::vector<CheckRecord>& records);

    // Every character the history has sent, the highest error rate first (then the most often
    // sent, then in character order).
    std::vector<CharacterRate> CharacterRates() const;
    // The confusions of the last `checks` records added up, the most frequent first.
    std::vector<CCopyCheck::Confusion> RecentConfusions(std::size_t checks) const;

private:
    const std::vector<CheckRecord>& records;
};
