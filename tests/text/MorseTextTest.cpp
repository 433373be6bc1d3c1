#include <gtest/gtest.h>

#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CaseName.h"
#include "text/CMorseText.h"

namespace {

CMorseText Text(const std::string& s, int kind = kLetterText, int shortZeros = 0) {
    CMorseText text;
    text.SetText(s);
    text.SetKind(kind);
    text.SetShortZeros(shortZeros);
    return text;
}

TEST(MorseText, FreshObjectIsEmptyWithUnknownKind) {
    CMorseText text;
    EXPECT_EQ(text.GetText(), "");
    EXPECT_EQ(text.GetKind(), -1);
    EXPECT_EQ(text.WordCount(), 1);
    EXPECT_EQ(text.ToElements(), "");
}

struct WordCase {
    const char* name;
    std::string text;
    int count;
    std::vector<std::string> words;  // what successive NextWord calls return, skipping spaces
};

class WordCountTest : public testing::TestWithParam<WordCase> {};

TEST_P(WordCountTest, CountsRunsOfSpacesAndWalksWords) {
    const WordCase& c = GetParam();
    CMorseText text = Text(c.text);
    EXPECT_EQ(text.WordCount(), c.count);
    for (const std::string& expected : c.words) {
        EXPECT_EQ(text.NextWord(), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WordCountTest,
                         testing::Values(WordCase{"TwoWords", "AB CD", 2, {"AB"}},
                                         WordCase{"TrailingSpace", "AB ", 1, {"AB", ""}},
                                         WordCase{"LeadingSpace", " AB", 2, {"", ""}},
                                         WordCase{"DoubleSpace", "A  B", 2, {"A", ""}},
                                         WordCase{"OnlySpaces", "   ", 1, {""}},
                                         WordCase{"OneWord", "ABC", 1, {"ABC", ""}}),
                         CaseName());

TEST(MorseText, NextWordStopsOnTheSpace) {
    CMorseText text = Text("AB CD");
    EXPECT_EQ(text.NextWord(), "AB");
    EXPECT_EQ(text.NextWord(), "");  // still on the space
    text.Rewind();
    EXPECT_EQ(text.NextWord(), "AB");
}

struct ElementCase {
    const char* name;
    std::string text;
    int kind;
    int shortZeros;
    std::string elements;
};

class ToElementsTest : public testing::TestWithParam<ElementCase> {};

TEST_P(ToElementsTest, BuildsTheElementString) {
    const ElementCase& c = GetParam();
    CMorseText text = Text(c.text, c.kind, c.shortZeros);
    EXPECT_EQ(text.ToElements(), c.elements);
    // Building again gives the same string: the cursor is rewound each time.
    EXPECT_EQ(text.ToElements(), c.elements);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToElementsTest,
    testing::Values(ElementCase{"DoubleSpace", "AB  C", 0, 0, ".-m-...m  -.-.m"},
                    ElementCase{"ShortZeroDigitText", "10", 1, 1, ".----m-m"},
                    ElementCase{"ShortZeroIgnoredForCipher", "10", 3, 1, ".----m-----m"},
                    ElementCase{"FullZeroWithoutFlag", "10", 1, 0, ".----m-----m"},
                    ElementCase{"LeadingSpaces", "  E", 0, 0, "  .m"},
                    ElementCase{"TrailingSpace", "E ", 0, 0, ".m "},
                    ElementCase{"LowerCase", "ab", 4, 0, ".-m-...m"},
                    ElementCase{"CharacterWithoutCode", "A.B", 4, 0, ".-mm-...m"},
                    ElementCase{"ProsignsRunTogether", "<AR> <SK>", 8, 0, ".-.-.m ...-.-m"},
                    ElementCase{"OneLetterIsNoProsign", "<E>", 8, 0, "m.mm"},
                    ElementCase{"UnclosedIsNoProsign", "<KN", 8, 0, "m-.-m-.m"}),
    CaseName());

TEST(MorseText, FormatLinesBreaksAfterEverySixtiethCharacter) {
    EXPECT_EQ(Text("").FormatLines(), "");
    const std::string sixtyOne = std::string(60, 'A') + "B";
    EXPECT_EQ(Text(sixtyOne).FormatLines(), std::string(60, 'A') + "\r\nB");
    const std::string full = Text(std::string(300, 'E')).FormatLines();
    EXPECT_EQ(full.size(), 310u);
    for (int line = 0; line < 5; ++line) {
        EXPECT_EQ(full.substr(line * 62 + 60, 2), "\r\n");
    }
}

// Display lines end at words: groups fill whole lines as in the files, other words move to the
// next line whole; a word longer than a line, or words that would need a sixth line, are broken
// as in the files. Without its line ends the display is the text.
TEST(MorseText, DisplayLinesKeepWordsWhole) {
    const std::string groups = [] {
        std::string text;
        for (int i = 0; i < 50; ++i) {
            text += "ABCDE ";
        }
        return text;
    }();
    const std::string calls = "DF5HO OK1ABC " + std::string(42, 'E') + " OK2XYZ W1AW";
    const std::string longWord = std::string(70, 'T');
    const std::string crowded = [] {
        std::string text;
        while (text.size() < 290) {
            text += "OK1ABCD ";
        }
        return text;
    }();
    const struct {
        std::string text;
        std::string display;
    } cases[] = {
        {"", ""},
        {groups, Text(groups).FormatLines()},
        {calls, "DF5HO OK1ABC " + std::string(42, 'E') + " \r\nOK2XYZ W1AW"},
        {std::string(59, 'E') + " T", std::string(59, 'E') + " \r\nT"},
        {"AB " + std::string(57, 'K') + " CD", "AB \r\n" + std::string(57, 'K') + " CD\r\n"},
        {longWord, std::string(60, 'T') + "\r\n" + std::string(10, 'T')},
        {crowded, Text(crowded).FormatLines()},
    };
    for (const auto& c : cases) {
        const std::string display = Text(c.text).FormatDisplayLines();
        EXPECT_EQ(display, c.display) << c.text;
        std::string joined = display;
        std::erase(joined, '\r');
        std::erase(joined, '\n');
        EXPECT_EQ(joined, c.text);
    }
}

TEST(MorseText, FormatPaddedFillsFiveLines) {
    const std::string padded = Text("ABCDEFGHIJ").FormatPadded();
    ASSERT_EQ(padded.size(), 310u);
    EXPECT_EQ(padded.substr(0, 12), "ABCDEFGHIJ  ");
    EXPECT_EQ(padded.substr(60, 2), "\r\n");
    EXPECT_EQ(padded.substr(248, 60), std::string(60, ' '));
    // A longer text is not cut.
    EXPECT_EQ(Text(std::string(305, 'E')).FormatPadded().size(), 305u + 10u);
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string text;
    std::vector<std::string> warnings;
};

class LoadFromFileContentsTest : public testing::TestWithParam<LoadCase> {};

TEST_P(LoadFromFileContentsTest, CleansTheContents) {
    const LoadCase& c = GetParam();
    CRecordingNotifier notifier;
    const CMorseText text = CMorseText::LoadFromFileContents(c.bytes, kCustomText, notifier);
    EXPECT_EQ(text.GetText(), c.text);
    EXPECT_EQ(text.GetKind(), kCustomText);
    EXPECT_EQ(notifier.Events(), c.warnings);
}

std::string TenFullStopsIn350() {
    std::string s(350, 'E');
    for (int i = 0; i < 10; ++i) {
        s[static_cast<std::size_t>(i * 29)] = '.';
    }
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoadFromFileContentsTest,
    testing::Values(
        LoadCase{"LineBreaksDroppedCaseKept", "ab\r\ncd", "abcd", {}},
        LoadCase{"LoneCrAndLf", "a\rb\nc", "abc", {}},
        LoadCase{"Exactly300", std::string(300, 'E'), std::string(300, 'E'), {}},
        LoadCase{"Exactly300WithBreaks", std::string(300, 'E') + "\r\n", std::string(300, 'E'), {}},
        LoadCase{"Over300", std::string(301, 'E'), std::string(300, 'E'), {"TextTooLong:300"}},
        LoadCase{"CutThenCleaned",
                 TenFullStopsIn350(),
                 std::string(290, 'E'),
                 {"TextTooLong:300", "UnsupportedRemoved"}},
        LoadCase{"OneWarningForManyDropped",
                 "A\tB\xE8"
                 "C.",
                 "ABC",
                 {"UnsupportedRemoved"}},
        LoadCase{"ZeroByteEndsText", std::string("AB\0CD", 5), "AB", {}},
        LoadCase{"Empty", "", "", {}}),
    CaseName());

TEST(MorseText, RemoveUnsupportedKeepsCursor) {
    CRecordingNotifier notifier;
    CMorseText text = Text("AB CD");
    text.NextWord();
    text.RemoveUnsupported(notifier);
    EXPECT_TRUE(notifier.Events().empty());
    EXPECT_EQ(text.NextWord(), "");  // still on the space after "AB"
}

}  // namespace
