#include "training/CCharacterWeights.h"

#include <cmath>

CCharacterWeights::CCharacterWeights(const std::vector<CheckRecord>& history) {
    for (const CheckRecord& record : history) {
        for (const auto& [character, count] : record.characters) {
            CCopyCheck::CharacterCount& total = totals[character];
            total.sent += count.sent;
            total.wrong += count.wrong;
        }
    }
}

std::map<char, double> CCharacterWeights::Shares(const std::string& set) const {
    std::map<char, double> fair;
    for (const char c : set) {
        fair[c] += 1.0 / static_cast<double>(set.size());
    }
    // How much each character needs practice: a base, its error rate, and more for the rarely
    // seen, which the history cannot yet judge.
    std::map<char, double> need;
    double weightedTotal = 0;
    for (const auto& [c, share] : fair) {
        if (c == ' ') {
            continue;
        }
        const auto found = totals.find(c);
        const int sent = found == totals.end() ? 0 : found->second.sent;
        const int wrong = found == totals.end() ? 0 : found->second.wrong;
        const double rate = sent == 0 ? 0.0 : static_cast<double>(wrong) / sent;
        const double rarity = 0.5 * std::max(0.0, 1.0 - static_cast<double>(sent) / kWellKnown);
        need[c] = share * (0.25 + rate + rarity);
        weightedTotal += need[c];
    }
    const double spaces = fair.count(' ') != 0 ? fair.at(' ') : 0.0;
    std::map<char, double> shares;
    for (const auto& [c, share] : fair) {
        // Half the fair share is kept; the other half follows the need.
        shares[c] = c == ' ' ? share : 0.5 * share + 0.5 * (1.0 - spaces) * need[c] / weightedTotal;
    }
    return shares;
}

std::string CCharacterWeights::Weighted(const std::string& set) const {
    if (!HasHistory() || set.empty() || set.find_first_not_of(' ') == std::string::npos) {
        return set;
    }
    std::string weighted;
    for (const auto& [c, share] : Shares(set)) {
        const auto copies = std::max(1L, std::lround(share * kPositions));
        weighted.append(static_cast<std::size_t>(copies), c);
    }
    return weighted;
}
