#include "core/CMorseTable.h"

#include <array>
#include <atomic>

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

// The international punctuation of ITU-R M.1677, and the exclamation mark as it is commonly
// keyed beside it.
constexpr Row kInternationalRows[] = {
    {'.', ".-.-.-"}, {',', "--..--"}, {':', "---..."}, {'?', "..--.."}, {'\'', ".----."},
    {'-', "-....-"}, {'/', "-..-."},  {'(', "-.--."},  {')', "-.--.-"}, {'"', ".-..-."},
    {'=', "-...-"},  {'+', ".-.-."},  {'@', ".--.-."}, {'!', "-.-.--"},
};

constexpr bool IsLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Indexed by the unsigned byte value; every byte outside the rows maps to the empty code.
constexpr std::array<std::string_view, 256> BuildTable(bool international) {
    std::array<std::string_view, 256> table{};
    for (const Row& row : kRows) {
        if (!international || IsLetterOrDigit(row.character)) {
            table[static_cast<unsigned char>(row.character)] = row.code;
        }
    }
    if (international) {
        for (const Row& row : kInternationalRows) {
            table[static_cast<unsigned char>(row.character)] = row.code;
        }
    }
    return table;
}

constexpr std::array<std::string_view, 256> kProgramTable = BuildTable(false);
constexpr std::array<std::string_view, 256> kInternationalTable = BuildTable(true);

std::atomic<Punctuation> punctuation{Punctuation::kProgram};

}  // namespace

CMorseTable::~CMorseTable() = default;

std::string_view CMorseTable::CodeOf(char character, bool abbreviateZero) {
    if (character >= 'a' && character <= 'z') {
        character = static_cast<char>(character - 'a' + 'A');
    }
    if (abbreviateZero && character == '0') {
        return "-";
    }
    const auto& table = punctuation.load(std::memory_order_relaxed) == Punctuation::kInternational
                            ? kInternationalTable
                            : kProgramTable;
    return table[static_cast<unsigned char>(character)];
}

bool CMorseTable::HasCode(char character) {
    return !CodeOf(character, false).empty();
}

bool CMorseTable::HasCodeInEitherTable(char character) {
    const auto index = static_cast<unsigned char>(
        character >= 'a' && character <= 'z' ? character - 'a' + 'A' : character);
    return !kProgramTable[index].empty() || !kInternationalTable[index].empty();
}

void CMorseTable::SetPunctuation(Punctuation table) {
    punctuation.store(table, std::memory_order_relaxed);
}

Punctuation CMorseTable::GetPunctuation() {
    return punctuation.load(std::memory_order_relaxed);
}

int CMorseTable::RemoveInvalidCharacters(std::string& text, bool rejectDigits, CNotifier& notifier,
                                         bool eitherTable) {
    int result = -1;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const bool coded = eitherTable ? HasCodeInEitherTable(c) : HasCode(c);
        const bool invalid = c != ' ' && (!coded || (rejectDigits && c >= '0' && c <= '9'));
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
