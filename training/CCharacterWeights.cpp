#include "training/CCharacterWeights.h"

#include <algorithm>
#include <cmath>

CCharacterWeights::CCharacterWeights(const std::vector<CheckRecord>& history) {
    for (const CheckRecord& record : history) {
        for (const auto& [character, count] : record.characters) {
            CCopyCheck::CharacterCount& total = totals[character];
            total.sent += count.sent;
            total.wrong += count.wrong;
        }
        for (const CCopyCheck::Confusion& confusion : record.confusions) {
            if (confusion.sent != confusion.copied && confusion.count > 0) {
                writtenFor[confusion.copied] += confusion.count;
            }
        }
    }
}

CCharacterWeights::CCharacterWeights(const std::vector<CheckRecord>& history,
                                     const std::map<char, int>& reactionMilliseconds)
    : CCharacterWeights(history) {
    std::vector<int> times;
    for (const auto& [c, time] : reactionMilliseconds) {
        if (time > 0) {
            reactions[c] = time;
            times.push_back(time);
        }
    }
    if (!times.empty()) {
        std::sort(times.begin(), times.end());
        const std::size_t middle = times.size() / 2;
        typicalReaction =
            times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
    }
}

double CCharacterWeights::Weight(char c) const {
    const auto found = totals.find(c);
    const double sent = found == totals.end() ? 0.0 : found->second.sent;
    const double wrong =
        found == totals.end() ? 0.0 : std::clamp<double>(found->second.wrong, 0.0, sent);
    const double rate = (wrong + kPriorWrong) / (sent + kPriorSent);
    const auto partner = writtenFor.find(c);
    const double taken = partner == writtenFor.end() ? 0.0 : static_cast<double>(partner->second);
    const double takenRate = std::min(1.0, taken / (sent + kPriorSent));
    double slowness = 0.0;
    if (const auto timed = reactions.find(c); timed != reactions.end() && typicalReaction > 0.0) {
        slowness = std::clamp(timed->second / typicalReaction - 1.0, 0.0, kMaximumSlowness);
    }
    return 1.0 + kWeakness * rate + kPartner * takenRate + kSlowness * slowness;
}

std::map<char, double> CCharacterWeights::Shares(const std::string& set) const {
    std::map<char, double> fair;
    for (const char c : set) {
        fair[c] += 1.0 / static_cast<double>(set.size());
    }
    const double spaces = fair.count(' ') != 0 ? fair.at(' ') : 0.0;
    std::map<char, double> need;
    double needTotal = 0;
    for (const auto& [c, share] : fair) {
        if (c != ' ') {
            need[c] = share * Weight(c);
            needTotal += need[c];
        }
    }
    std::map<char, double> shares;
    for (const auto& [c, share] : fair) {
        // Half the fair share is kept; the other half follows the need.
        shares[c] = c == ' ' ? share : 0.5 * share + 0.5 * (1.0 - spaces) * need[c] / needTotal;
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
