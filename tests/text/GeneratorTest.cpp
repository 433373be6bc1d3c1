#include <gtest/gtest.h>

#include <algorithm>

#include "text/CMorseText.h"

namespace {

const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
const std::string kDigits = "1234567890";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the fixed shape of a set without spaces: 50 groups of five, each followed by a space.
void ExpectGroupsOfFive(const std::string& text) {
    ASSERT_EQ(text.size(), 300u);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((i + 1) % 6 == 0) {
            EXPECT_EQ(text[i], ' ') << i;
        } else {
            EXPECT_NE(text[i], ' ') << i;
        }
    }
}

TEST(Generator, LetterTextIsFiftyGroupsOfLetters) {
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        const std::string text = CMorseText::Generate(kLetters, kLetterText, seed);
        ExpectGroupsOfFive(text);
        for (const char c : text) {
            EXPECT_TRUE(c == ' ' || (c >= 'A' && c <= 'Z'));
        }
    }
}

TEST(Generator, DigitTextNeverStartsWithZeroButHoldsZeros) {
    int zeros = 0;
    for (std::uint32_t seed = 0; seed < 200; ++seed) {
        const std::string text = CMorseText::Generate(kDigits, kDigitText, seed);
        ExpectGroupsOfFive(text);
        EXPECT_NE(text[0], '0') << seed;
        zeros += static_cast<int>(std::count(text.begin(), text.end(), '0'));
    }
    EXPECT_GT(zeros, 200 * 250 / 20);  // about one in ten
}

TEST(Generator, ZeroOnlyDigitSetGivesZeros) {
    const std::string text = CMorseText::Generate("0", kDigitText, 7);
    std::string expected;
    for (int i = 0; i < 50; ++i) {
        expected += "00000 ";
    }
    EXPECT_EQ(text, expected);
}

TEST(Generator, MixedTextGroupsAreNeverMixed) {
    int digitGroups = 0;
    for (std::uint32_t seed = 0; seed < 20; ++seed) {
        const std::string text = CMorseText::Generate(kLetters + kDigits, kMixedText, seed);
        ExpectGroupsOfFive(text);
        for (std::size_t g = 0; g < 50; ++g) {
            const std::string group = text.substr(g * 6, 5);
            const auto digits = std::count_if(group.begin(), group.end(), IsDigit);
            EXPECT_TRUE(digits == 0 || digits == 5) << group;
            digitGroups += digits == 5 ? 1 : 0;
        }
    }
    // Ten of the 36 positions are digits: about 28 % of the groups.
    EXPECT_GT(digitGroups, 1000 * 15 / 100);
    EXPECT_LT(digitGroups, 1000 * 45 / 100);
}

TEST(Generator, CipherTextMixesInsideGroups) {
    int mixedGroups = 0;
    const std::string text = CMorseText::Generate(kLetters + kDigits, kCipherText, 3);
    ExpectGroupsOfFive(text);
    for (std::size_t g = 0; g < 50; ++g) {
        const std::string group = text.substr(g * 6, 5);
        const auto digits = std::count_if(group.begin(), group.end(), IsDigit);
        mixedGroups += (digits > 0 && digits < 5) ? 1 : 0;
    }
    EXPECT_GT(mixedGroups, 10);
}

TEST(Generator, SetWithSpaceGivesFreeWords) {
    for (const int kind : {kLetterText, kMixedText, kCipherText}) {
        for (std::uint32_t seed = 0; seed < 20; ++seed) {
            const std::string text = CMorseText::Generate("ABC ", kind, seed);
            ASSERT_EQ(text.size(), 300u);
            EXPECT_NE(text[0], ' ');
            EXPECT_EQ(text.find("  "), std::string::npos);
            EXPECT_NE(text.find(' '), std::string::npos);
            EXPECT_TRUE(std::all_of(text.begin(), text.end(),
                                    [](char c) { return c == ' ' || (c >= 'A' && c <= 'C'); }));
        }
    }
}

TEST(Generator, DoubledLetterIsDrawnTwiceAsOften) {
    long a = 0;
    long b = 0;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        const std::string text = CMorseText::Generate("AAB", kLetterText, seed);
        a += std::count(text.begin(), text.end(), 'A');
        b += std::count(text.begin(), text.end(), 'B');
    }
    const double ratio = static_cast<double>(a) / static_cast<double>(b);
    EXPECT_GT(ratio, 1.8);
    EXPECT_LT(ratio, 2.2);
}

TEST(Generator, EqualSeedsGiveEqualTexts) {
    EXPECT_EQ(CMorseText::Generate(kLetters, kLetterText, 12345),
              CMorseText::Generate(kLetters, kLetterText, 12345));
    EXPECT_NE(CMorseText::Generate(kLetters, kLetterText, 12345),
              CMorseText::Generate(kLetters, kLetterText, 12346));
}

TEST(Generator, NothingToDrawReturnsAtOnceWithNoText) {
    for (const int kind : {kLetterText, kDigitText, kMixedText, kCipherText}) {
        EXPECT_EQ(CMorseText::Generate("", kind, 1), "") << kind;
    }
    for (const int kind : {kLetterText, kMixedText, kCipherText}) {
        EXPECT_EQ(CMorseText::Generate("   ", kind, 1), "") << kind;
    }
    // Rule B takes spaces as they come, so a space-only digit set still makes a text.
    EXPECT_EQ(CMorseText::Generate(" ", kDigitText, 1), std::string(300, ' '));
    EXPECT_EQ(CMorseText::Generate(kLetters, kCustomText, 1), "");
}

TEST(Generator, SetLongerThanTheRandomRangeDoesNotSpin) {
    // Only the first 32768 positions can be drawn; they are all zeros here.
    const std::string set = std::string(40000, '0') + "1";
    const std::string text = CMorseText::Generate(set, kDigitText, 5);
    EXPECT_EQ(text.size(), 300u);
    EXPECT_EQ(text[0], '0');
    EXPECT_EQ(CMorseText::Generate(std::string(40000, ' ') + "A", kLetterText, 5), "");
}

TEST(Generator, ClockSeededGenerationHasTheSameShape) {
    CMorseText generator;
    ExpectGroupsOfFive(generator.Generate(kLetters, kLetterText));
}

}  // namespace
