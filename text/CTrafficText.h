#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CRandomSource;

// Texts of real traffic: common words, callsigns, abbreviations and Q codes, whole contacts.
// Each text is at most kMaxTextLength characters of whole words, every character with a code,
// and the same seed gives the same text. Plain functions of their arguments; any thread.
class CTrafficText {
public:
    // The callsign shapes, each drawn about as often as its weight says.
    enum class CallsignShape { Plain, Portable, CountryPrefixed, SpecialEvent };

    // Words of `wordList` (one per line; lines with a character without a code are skipped),
    // each drawn at random, the words near the top of the list (the most common) more often.
    // Empty when the list holds no usable word.
    static std::string Words(std::string_view wordList, std::uint32_t seed);
    static std::string Callsigns(std::uint32_t seed);
    static std::string Abbreviations(std::uint32_t seed);
    // Whole contacts, one after another: a conversation, a contest exchange, a summit or park
    // activation.
    static std::string Contacts(std::uint32_t seed);

    // One callsign: prefix, digit, suffix ("OK1ABC"), or a portable ("DL2XY/P"), a
    // country-prefixed ("OK/G4ABC") or a special-event ("OL75CRK") form of one.
    static std::string Callsign(CRandomSource& random);
    static std::string Callsign(CallsignShape shape, CRandomSource& random);
};
