#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "training/CCopyCheck.h"

// The differences of a checked copy as a learner looks them up on the sheet, in the order of the
// sent text: each placed by its group and its character within the group, counted from 1 (groups
// are the runs of characters between spaces and line breaks). A screen reader reads them in this
// order after the score. Plain data; any thread.
class CCopyCheckDifferences {
public:
    enum class Kind {
        Wrong,        // `sent` copied as `copied`
        Missed,       // `sent` not copied
        MissedGroup,  // the whole group `group` not copied; `sent` is the group
        Swapped,      // the neighbours at `character` and the one after it copied the other way
        Extra,        // `copied` added after character `character` of group `group`, or before
                      // anything sent when `group` is 0
    };

    struct Difference {
        Kind kind;
        int group;      // from 1; 0 only for an extra before anything sent
        int character;  // from 1 within the group; 0 for a whole group and an extra at the start
        std::string sent;
        std::string copied;
        bool operator==(const Difference&) const = default;
    };

    // `sentText` is the text `check` compared the copy with (lines may end in CR LF).
    CCopyCheckDifferences(std::string_view sentText, const CCopyCheck& check);

    const std::vector<Difference>& List() const { return differences; }

private:
    std::vector<Difference> differences;
};
