#include <gtest/gtest.h>

#include <map>

#include "core/CMorseTable.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CaseName.h"

namespace {

const std::map<char, std::string> kExpectedCodes = {
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

TEST(MorseTable, EveryByteHasExactlyItsCode) {
    ASSERT_EQ(kExpectedCodes.size(), 43u);
    int withCode = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        const auto expected = kExpectedCodes.find(upper);
        const std::string want = expected == kExpectedCodes.end() ? "" : expected->second;
        EXPECT_EQ(CMorseTable::CodeOf(c, false), want) << "byte " << byte;
        EXPECT_EQ(CMorseTable::HasCode(c), !want.empty()) << "byte " << byte;
        withCode += CMorseTable::HasCode(c) ? 1 : 0;
    }
    EXPECT_EQ(withCode, 43 + 26);
}

TEST(MorseTable, PunctuationPointsThatDifferFromCommonTables) {
    EXPECT_EQ(CMorseTable::CodeOf(',', false), ".-.-.-");
    EXPECT_EQ(CMorseTable::CodeOf('!', false), "--..--");
    for (const char c : std::string(".-:;\"'()*#$%&<> [`{~\r\n\t")) {
        EXPECT_FALSE(CMorseTable::HasCode(c)) << c;
    }
    EXPECT_FALSE(CMorseTable::HasCode(static_cast<char>(0xE8)));  // a Czech letter
}

// The international table differs in its punctuation only; a mark of either table counts as
// one a course order or a record keeps, whichever table is in use.
TEST(MorseTable, InternationalPunctuationOfTheItu) {
    const std::map<char, std::string> international = {
        {'.', ".-.-.-"}, {',', "--..--"}, {':', "---..."}, {'?', "..--.."}, {'\'', ".----."},
        {'-', "-....-"}, {'/', "-..-."},  {'(', "-.--."},  {')', "-.--.-"}, {'"', ".-..-."},
        {'=', "-...-"},  {'+', ".-.-."},  {'@', ".--.-."}, {'!', "-.-.--"},
    };
    CMorseTable::SetPunctuation(Punctuation::kInternational);
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
        const bool letterOrDigit = (upper >= 'A' && upper <= 'Z') || (upper >= '0' && upper <= '9');
        const auto mark = international.find(upper);
        const std::string want = letterOrDigit                 ? kExpectedCodes.at(upper)
                                 : mark != international.end() ? mark->second
                                                               : "";
        EXPECT_EQ(CMorseTable::CodeOf(c, false), want) << "byte " << byte;
        const bool inEither = !want.empty() || kExpectedCodes.count(upper) != 0;
        EXPECT_EQ(CMorseTable::HasCodeInEitherTable(c), inEither) << "byte " << byte;
    }
    CMorseTable::SetPunctuation(Punctuation::kProgram);
    EXPECT_EQ(CMorseTable::CodeOf('.', false), "");
    EXPECT_TRUE(CMorseTable::HasCodeInEitherTable('.'));
}

TEST(MorseTable, AbbreviatedZeroOnlyChangesZero) {
    EXPECT_EQ(CMorseTable::CodeOf('0', true), "-");
    EXPECT_EQ(CMorseTable::CodeOf('0', false), "-----");
    EXPECT_EQ(CMorseTable::CodeOf('T', true), "-");
    EXPECT_EQ(CMorseTable::CodeOf('T', false), "-");
    EXPECT_EQ(CMorseTable::CodeOf('5', true), ".....");
    EXPECT_EQ(CMorseTable::CodeOf('o', true), "---");
}

struct ValidationCase {
    const char* name;
    std::string text;
    bool rejectDigits;
    std::string expectedText;
    int expectedResult;
    std::vector<std::string> expectedWarnings;
};

class RemoveInvalidCharactersTest : public testing::TestWithParam<ValidationCase> {};

TEST_P(RemoveInvalidCharactersTest, RemovesAndWarnsInTextOrder) {
    const ValidationCase& c = GetParam();
    CRecordingNotifier notifier;
    std::string text = c.text;
    EXPECT_EQ(CMorseTable::RemoveInvalidCharacters(text, c.rejectDigits, notifier),
              c.expectedResult);
    EXPECT_EQ(text, c.expectedText);
    EXPECT_EQ(notifier.Events(), c.expectedWarnings);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RemoveInvalidCharactersTest,
    testing::Values(ValidationCase{"ValidUnchanged", "AB", true, "AB", -1, {}},
                    ValidationCase{"DigitRejected", "A5", true, "A", 1, {"InvalidCharacter:5"}},
                    ValidationCase{"DigitAllowed", "A5", false, "A5", -1, {}},
                    ValidationCase{"AdjacentInvalid",
                                   "A..B",
                                   false,
                                   "AB",
                                   1,
                                   {"InvalidCharacter:.", "InvalidCharacter:."}},
                    ValidationCase{"Empty", "", false, "", -1, {}},
                    ValidationCase{"SpacesKept", " A B ", true, " A B ", -1, {}},
                    ValidationCase{"LastRemovalIndex",
                                   ".AB;",
                                   false,
                                   "AB",
                                   2,
                                   {"InvalidCharacter:.", "InvalidCharacter:;"}},
                    ValidationCase{"LowerCaseAccepted", "ab", true, "ab", -1, {}},
                    ValidationCase{
                        "CzechLetterAndLineBreak",
                        "A\xE8\r\nB",
                        false,
                        "AB",
                        1,
                        {"InvalidCharacter:\xE8", "InvalidCharacter:\r", "InvalidCharacter:\n"}}),
    CaseName());

}  // namespace
