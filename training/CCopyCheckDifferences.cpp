#include "training/CCopyCheckDifferences.h"

#include <algorithm>

namespace {

bool Separates(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

// The group and the character within it of every position of the text (0, 0 for a separator).
struct Place {
    int group = 0;
    int character = 0;
};

std::vector<Place> Places(std::string_view text) {
    std::vector<Place> places(text.size());
    int group = 0;
    int character = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (Separates(text[i])) {
            character = 0;
            continue;
        }
        if (character == 0) {
            ++group;
        }
        places[i] = {group, ++character};
    }
    return places;
}

// The last sent character before `position`; none (0, 0) when nothing was sent before it.
Place Before(const std::vector<Place>& places, std::size_t position) {
    for (std::size_t i = std::min(position, places.size()); i > 0; --i) {
        if (places[i - 1].group > 0) {
            return places[i - 1];
        }
    }
    return {};
}

}  // namespace

CCopyCheckDifferences::CCopyCheckDifferences(std::string_view sentText, const CCopyCheck& check) {
    using Mark = CCopyCheck::Mark;
    const std::vector<Place> places = Places(sentText);
    const auto at = [&](std::size_t position) {
        return position < places.size() ? places[position] : Place{};
    };
    const std::vector<CCopyCheck::Entry>& entries = check.Entries();
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const CCopyCheck::Entry& entry = entries[k];
        const Place place = at(entry.position);
        switch (entry.mark) {
            case Mark::Correct:
                break;
            case Mark::Wrong:
                differences.push_back({Kind::Wrong, place.group, place.character,
                                       std::string(1, entry.sent), std::string(1, entry.copied)});
                break;
            case Mark::Transposed:
                // The two neighbours of a swap come one after the other.
                if (k + 1 < entries.size() && entries[k + 1].mark == Mark::Transposed) {
                    const CCopyCheck::Entry& next = entries[++k];
                    differences.push_back({Kind::Swapped, place.group, place.character,
                                           std::string{entry.sent, next.sent},
                                           std::string{entry.copied, next.copied}});
                }
                break;
            case Mark::Missed:
                if (!entry.wholeGroup) {
                    differences.push_back({Kind::Missed,
                                           place.group,
                                           place.character,
                                           std::string(1, entry.sent),
                                           {}});
                } else if (!differences.empty() && differences.back().kind == Kind::MissedGroup &&
                           differences.back().group == place.group) {
                    differences.back().sent += entry.sent;
                } else {
                    differences.push_back(
                        {Kind::MissedGroup, place.group, 0, std::string(1, entry.sent), {}});
                }
                break;
            case Mark::Extra: {
                // A run of extra characters in one place is one difference, after the character
                // sent last before them.
                std::string copied(1, entry.copied);
                while (k + 1 < entries.size() && entries[k + 1].mark == Mark::Extra &&
                       entries[k + 1].position == entry.position) {
                    copied += entries[++k].copied;
                }
                const Place after = Before(places, entry.position);
                differences.push_back({Kind::Extra, after.group, after.character, {}, copied});
                break;
            }
        }
    }
}
