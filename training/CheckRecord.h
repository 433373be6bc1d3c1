#pragma once

#include <map>
#include <vector>

#include "core/ReceptionSettings.h"
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
    int errors = 0;        // wrong, missed and extra characters and transpositions
    // The errors one by one: sent characters copied wrong or missed, copied characters that were
    // not sent, pairs of neighbours swapped (correct + wrong + missed + 2 x transpositions =
    // sent; wrong + missed + extra + transpositions = errors).
    int wrong = 0;
    int missed = 0;
    int extra = 0;
    int transpositions = 0;
    std::map<char, CCopyCheck::CharacterCount> characters;
    std::vector<CCopyCheck::Confusion> confusions;  // the most frequent first
    // The reception conditions the text was heard under, as ReceptionSettings::Summary gives
    // them, with the seed it was keyed from; all off (the default) for a clean transmission.
    ReceptionSettings conditions;

    // The share of right characters among the sent and the extra ones, in per cent.
    double Score() const { return CCopyCheck::Score(correct, sent, extra); }
    // Fills the results in from a check.
    void TakeResults(const CCopyCheck& check) {
        sent = check.SentCount();
        correct = check.CorrectCount();
        errors = check.ErrorCount();
        wrong = check.WrongCount();
        missed = check.MissedCount();
        extra = check.ExtraCount();
        transpositions = check.TranspositionCount();
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
