#pragma once

#include <map>
#include <vector>

#include "training/CConfusionTally.h"
#include "training/CCopyCheck.h"

// One copy check as the history keeps it: when, what was sent and how, and how it went.
// Plain data; any thread.
struct CheckRecord {
    // Local date and time of the check.
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int kind = 0;         // the text kind of the sent text
    int lesson = 0;       // the course lesson it belonged to; 0 for none
    int signSpeed = 100;  // characters per minute
    int textSpeed = 100;
    int ratioTenths = 30;  // the dash of 1 : 3,0 is 30 tenths of a dot
    int sent = 0;          // characters sent
    int correct = 0;       // of them copied right
    int errors = 0;        // wrong, missed and extra characters
    std::map<char, CCopyCheck::CharacterCount> characters;
    std::vector<CCopyCheck::Confusion> confusions;  // the most frequent first

    // The share of the sent characters copied right, in per cent.
    double Score() const { return ScorePercent(correct, sent); }
    // Fills the results in from a check.
    void TakeResults(const CCopyCheck& check) {
        sent = check.SentCount();
        correct = check.CorrectCount();
        errors = check.ErrorCount();
        characters = check.Characters();
        confusions = check.Confusions();
    }
    bool operator==(const CheckRecord&) const = default;
};

inline bool operator==(const CCopyCheck::CharacterCount& a, const CCopyCheck::CharacterCount& b) {
    return a.sent == b.sent && a.wrong == b.wrong;
}
inline bool operator==(const CCopyCheck::Confusion& a, const CCopyCheck::Confusion& b) {
    return a.sent == b.sent && a.copied == b.copied && a.count == b.count;
}
