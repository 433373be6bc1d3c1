#include "training/CHistoryStatistics.h"

#include "training/CConfusionTally.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

CHistoryStatistics::CHistoryStatistics(const std::vector<CheckRecord>& history)
    : records(history) {}

std::vector<CHistoryStatistics::CharacterRate> CHistoryStatistics::CharacterRates() const {
    std::map<char, CharacterRate> totals;
    for (const CheckRecord& record : records) {
        for (const auto& [character, count] : record.characters) {
            CharacterRate& total =
                totals.try_emplace(character, CharacterRate{character, 0, 0}).first->second;
            total.sent += count.sent;
            total.wrong += count.wrong;
        }
    }
    std::vector<CharacterRate> rates;
    for (const auto& entry : totals) {
        rates.push_back(entry.second);
    }
    std::stable_sort(rates.begin(), rates.end(),
                     [](const CharacterRate& a, const CharacterRate& b) {
                         // Compared as fractions, so that equal rates are equal exactly.
                         const long long left = static_cast<long long>(a.wrong) * b.sent;
                         const long long right = static_cast<long long>(b.wrong) * a.sent;
                         if (left != right) {
                             return left > right;
                         }
                         return a.sent > b.sent;
                     });
    return rates;
}

std::vector<CCopyCheck::Confusion> CHistoryStatistics::RecentConfusions(std::size_t checks) const {
    CConfusionTally tally;
    const std::size_t first = records.size() > checks ? records.size() - checks : 0;
    for (std::size_t k = first; k < records.size(); ++k) {
        for (const CCopyCheck::Confusion& confusion : records[k].confusions) {
            tally.Add(confusion.sent, confusion.copied, confusion.count);
        }
    }
    return tally.Sorted();
}

std::vector<CHistoryStatistics::SnrScore> CHistoryStatistics::ScoreBySnr() const {
    struct Total {
        int checks = 0;
        long long sent = 0;
        long long correct = 0;
        long long extra = 0;
    };
    // Without noise sorts first: above every ratio.
    constexpr int kWithoutNoise = ReceptionSettings::kHighestSnrDb + 1;
    std::map<int, Total, std::greater<>> totals;
    for (const CheckRecord& record : records) {
        Total& total = totals[record.conditions.noise ? record.conditions.snrDb : kWithoutNoise];
        ++total.checks;
        total.sent += record.sent;
        total.correct += record.correct;
        total.extra += record.extra;
    }
    std::vector<SnrScore> scores;
    for (const auto& [snr, total] : totals) {
        SnrScore score;
        if (snr != kWithoutNoise) {
            score.snrDb = snr;
        }
        score.checks = total.checks;
        score.sent = static_cast<int>(std::min<long long>(total.sent, INT32_MAX));
        const long long counted = total.sent + total.extra;
        score.score = counted == 0 ? 0.0 : 100.0 * static_cast<double>(total.correct) / counted;
        scores.push_back(score);
    }
    return scores;
}
