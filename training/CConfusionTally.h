#pragma once

#include <map>
#include <utility>
#include <vector>

#include "training/CCopyCheck.h"

// Adds up how often a sent character was copied as another, and lists the confusions the most
// frequent first (ties in character order). The one tally of a check and of the history. Plain
// data; any thread.
class CConfusionTally {
public:
    void Add(char sent, char copied, int count);
    std::vector<CCopyCheck::Confusion> Sorted() const;

private:
    std::map<std::pair<char, char>, int> counts;
};
