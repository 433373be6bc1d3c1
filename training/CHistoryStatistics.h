#pragma once

#include <optional>
#include <vector>

#include "training/CheckRecord.h"

// Figures over the history of copy checks: each character's error rate, the confusions of the
// last checks and the score against the noise the texts were heard in. Plain data; any thread.
class CHistoryStatistics {
public:
    struct CharacterRate {
        char character;
        int sent;
        int wrong;
        double Rate() const { return sent == 0 ? 0.0 : static_cast<double>(wrong) / sent; }
    };

    // The checks of texts heard at one signal-to-noise ratio, or without noise.
    struct SnrScore {
        std::optional<int> snrDb;  // none: without noise
        int checks = 0;
        int sent = 0;
        // The score of all their characters together (right ones among the sent and extra ones).
        double score = 0.0;
        bool operator==(const SnrScore&) const = default;
    };

    explicit CHistoryStatistics(const std::vector<CheckRecord>& records);

    // Every character the history has sent, the highest error rate first (then the most often
    // sent, then in character order).
    std::vector<CharacterRate> CharacterRates() const;
    // The confusions of the last `checks` records added up, the most frequent first.
    std::vector<CCopyCheck::Confusion> RecentConfusions(std::size_t checks) const;
    // The score against the signal-to-noise ratio: the checks without noise first, then each ratio
    // the history has, the highest (the easiest) first.
    std::vector<SnrScore> ScoreBySnr() const;

private:
    const std::vector<CheckRecord>& records;
};
