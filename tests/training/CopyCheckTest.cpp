#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseName.h"
#include "training/CCopyCheck.h"

namespace {

using Mark = CCopyCheck::Mark;

// The marks of a check as one letter each: c correct, w wrong, m missed, x extra.
std::string Marks(const CCopyCheck& check) {
    std::string marks;
    for (const CCopyCheck::Entry& entry : check.Entries()) {
        marks += entry.mark == Mark::Correct  ? 'c'
                 : entry.mark == Mark::Wrong  ? 'w'
                 : entry.mark == Mark::Missed ? 'm'
                                              : 'x';
    }
    return marks;
}

struct AlignmentCase {
    const char* name;
    const char* sent;
    const char* copied;
    const char* marks;
    int sentCount;
    int correct;
    int errors;
};

class Alignment : public testing::TestWithParam<AlignmentCase> {};

TEST_P(Alignment, MarksAndCounts) {
    const AlignmentCase& c = GetParam();
    const CCopyCheck check(c.sent, c.copied);
    EXPECT_EQ(Marks(check), c.marks);
    EXPECT_EQ(check.SentCount(), c.sentCount);
    EXPECT_EQ(check.CorrectCount(), c.correct);
    EXPECT_EQ(check.ErrorCount(), c.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Alignment,
    testing::Values(
        AlignmentCase{"AllRight", "ABCDE FGHIJ", "ABCDE FGHIJ", "cccccccccc", 10, 10, 0},
        // A slip costs only itself: one missed and one extra, the rest right.
        AlignmentCase{"MissedAndExtra", "ABCDE FGHIJ", "ABDE FGXHIJ", "ccmccccxccc", 10, 9, 2},
        AlignmentCase{"EmptyCopy", "ABC", "", "mmm", 3, 0, 3},
        AlignmentCase{"EmptyText", "", "ABC", "xxx", 0, 0, 3},
        AlignmentCase{"BothEmpty", "", "  ", "", 0, 0, 0},
        AlignmentCase{"AllWrong", "AAAAA", "BBBBB", "wwwww", 5, 0, 5},
        AlignmentCase{"MissedAtTheStart", "KMRSU", "MRSU", "mcccc", 5, 4, 1},
        AlignmentCase{"ExtraAtTheEnd", "KMRSU", "KMRSUA", "cccccx", 5, 5, 1},
        AlignmentCase{"Transposed", "KMRSU", "KRMSU", "cwwcc", 5, 3, 2},
        AlignmentCase{"GroupMissedWhole", "ABCDE FGHIJ KLMNO", "ABCDE KLMNO", "cccccmmmmmccccc", 15,
                      10, 5},
        // Groups may be written down apart or together: spaces and line breaks do not count.
        AlignmentCase{"SpacingIgnored", "AB CD\r\nEF", "ABC DEF", "cccccc", 6, 6, 0},
        AlignmentCase{"CaseIgnored", "PARIS", "paris", "ccccc", 5, 5, 0}),
    CaseName());

TEST(CopyCheck, PositionsPointIntoTheSentText) {
    const CCopyCheck check("AB CD", "AXB CE");
    const auto& entries = check.Entries();
    ASSERT_EQ(entries.size(), 5U);
    EXPECT_EQ(entries[0].position, 0U);
    // The extra X stands before B.
    EXPECT_EQ(entries[1].mark, Mark::Extra);
    EXPECT_EQ(entries[1].copied, 'X');
    EXPECT_EQ(entries[1].position, 1U);
    EXPECT_EQ(entries[3].position, 3U);
    EXPECT_EQ(entries[4].mark, Mark::Wrong);
    EXPECT_EQ(entries[4].sent, 'D');
    EXPECT_EQ(entries[4].copied, 'E');
    EXPECT_EQ(entries[4].position, 4U);
    // An extra character after the last one stands at the end.
    const CCopyCheck after("AB", "ABC");
    EXPECT_EQ(after.Entries().back().position, 2U);
}

TEST(CopyCheck, ScoreConfusionsAndCharacterCounts) {
    // Three H copied as S, one E as I, one A missed; 20 characters sent.
    const CCopyCheck check("HHHHE ETTTT AAAAA HEHEH", "SSSHE ITTTT AAAA HEHEH");
    EXPECT_EQ(check.SentCount(), 20);
    EXPECT_EQ(check.CorrectCount(), 15);
    EXPECT_DOUBLE_EQ(check.ScorePercent(), 75.0);
    const auto confusions = check.Confusions();
    ASSERT_EQ(confusions.size(), 2U);
    EXPECT_EQ(confusions[0].sent, 'H');
    EXPECT_EQ(confusions[0].copied, 'S');
    EXPECT_EQ(confusions[0].count, 3);
    EXPECT_EQ(confusions[1].sent, 'E');
    EXPECT_EQ(confusions[1].count, 1);
    const auto& characters = check.Characters();
    EXPECT_EQ(characters.at('H').sent, 7);
    EXPECT_EQ(characters.at('H').wrong, 3);
    EXPECT_EQ(characters.at('T').sent, 4);
    EXPECT_EQ(characters.at('T').wrong, 0);
    EXPECT_EQ(characters.at('A').wrong, 1);
    EXPECT_EQ(characters.at('E').wrong, 1);
    EXPECT_DOUBLE_EQ(CCopyCheck("", "ABC").ScorePercent(), 0.0);
}

TEST(CopyCheck, HugeInputIsBounded) {
    const std::string sent(5000, 'E');
    const std::string copied(100000, 'T');
    const CCopyCheck check(sent, copied);
    EXPECT_EQ(check.SentCount(), static_cast<int>(CCopyCheck::kMaxCharacters));
    EXPECT_EQ(check.CorrectCount(), 0);
}

}  // namespace
