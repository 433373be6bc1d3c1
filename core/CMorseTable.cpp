#include "core/CMorseTable.h"

#include <array>

#include "core/CNotifier.h"

namespace {

struct Row {
    char character;
    const char* code;
};

constexpr Row kRows[] = {
    {'A', ".-"},    {'B', "-..."},   {'C', "-.-."},   {'D', "-.."},    {'E', "."},
    {'F', "..-."},  {'G', "--."},    {'H', "...."},   {'I', ".."},     {'J', ".---"},
    {'K', "-.-"},   {'L', ".-.."},   {'M', "--"},     {'N', "-."},     {'O', "---"},
    {'P', ".--."},  {'Q', "--.-"},   {'R', ".-."},    {'S', "..."},    {'T', "-"},
    {'U', "..-"},   {'V', "...-"},   {'W', ".--"},    {'X', "-..-"},   {'Y', "-.--"},
    {'Z', "--.."},  {'0', "-----"},  {'1', ".----"},  {'2', "..---"},  {'3', "...--"},
    {'4', "....-"}, {'5', "....."},  {'6', "-...."},  {'7', "--..."},  {'8', "---.."},
    {'9', "----."}, {'!', "--..--"}, {'+', ".-.-."},  {',', ".-.-.-"}, {'/', "-..-."},
    {'=', "-...-"}, {'?', "..--.."}, {'@', ".--.-."},
};

// Indexed by the unsigned byte value; every byte outside the rows maps to the empty code.
constexpr std::array<std::string_view, 256> BuildTable() {
    std::array<std::string_view, 256> table{};
    for (const Row& row : kRows) {
        table[static_cast<unsigned char>(row.character)] = row.code;
    }
    return table;
}

constexpr std::array<std::string_view, 256> kTable = BuildTable();

}  // namespace

CMorseTable::~CMorseTable() = default;

std::string_view CMorseTable::CodeOf(char character, bool abbreviateZero) {
    if (character >= 'a' && character <= 'z') {
        character = static_cast<char>(character - 'a' + 'A');
    }
    if (abbreviateZero && character == '0') {
        return "-";
    }
    return kTable[static_cast<unsigned char>(character)];
}

bool CMorseTable::HasCode(char character) {
    return !CodeOf(character, false).empty();
}

int CMorseTable::RemoveInvalidCharacters(std::string& text, bool rejectDigits,
                                         CNotifier& notifier) {
    int result = -1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const bool invalid = c != ' ' && (!HasCode(c) || (rejectDigits && c >= '0' && c <= '9'));
        if (!invalid) {
            ++i;
            continue;
        }
        notifier.InvalidCharacterRemoved(c);
        text.erase(i, 1);
        result = static_cast<int>(i);
    }
    return result;
}
