#include "training/CHistoryStatistics.h"

#include "training/CConfusionTally.h"

#include <algorithm>
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
