#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseName.h"
#include "tests/training/AlignmentCases.h"
#include "training/CCopyCheck.h"

namespace {

using Mark = CCopyCheck::Mark;

// The marks of a check as one letter each: c correct, w wrong, m missed, x extra, t transposed;
// M and X for the characters of a group missed or added whole.
std::string Marks(const CCopyCheck& check) {
    std::string marks;
    for (const CCopyCheck::Entry& entry : check.Entries()) {
        switch (entry.mark) {
            case Mark::Correct:
                marks += 'c';
                break;
            case Mark::Wrong:
                marks += 'w';
                break;
            case Mark::Missed:
                marks += entry.wholeGroup ? 'M' : 'm';
                break;
            case Mark::Extra:
                marks += entry.wholeGroup ? 'X' : 'x';
                break;
            case Mark::Transposed:
                marks += 't';
                break;
        }
    }
    return marks;
}

class Alignment : public testing::TestWithParam<AlignmentCase> {};

TEST_P(Alignment, MarksAndCounts) {
    const AlignmentCase& c = GetParam();
    const CCopyCheck check(c.sent, c.copied);
    EXPECT_EQ(Marks(check), c.marks);
    EXPECT_EQ(check.SentCount(), c.sentCount);
    EXPECT_EQ(check.CorrectCount(), c.correct);
    EXPECT_EQ(check.WrongCount(), c.wrong);
    EXPECT_EQ(check.MissedCount(), c.missed);
    EXPECT_EQ(check.ExtraCount(), c.extra);
    EXPECT_EQ(check.TranspositionCount(), c.transpositions);
    EXPECT_EQ(check.ErrorCount(), c.wrong + c.missed + c.extra + c.transpositions);
}

INSTANTIATE_TEST_SUITE_P(Table, Alignment, testing::ValuesIn(kAlignmentCases), CaseName());

// The score is the share of right characters among the sent and the extra ones.
TEST(CopyCheck, ExtraCharactersLowerTheScore) {
    struct {
        const char* sent;
        const char* copied;
        double score;
    } const cases[] = {
        {"KMRSU", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 100.0 * 5 / 26},
        {"S S S S", "S S S S S S", 100.0 * 4 / 6},
        {"ABCDE FGHIJ", "ABCDE XYZQW FGHIJ", 100.0 * 10 / 15},
        {"PARIS 73 TEST", "PARIS 37 TST", 100.0 * 8 / 11},
        {"ABC", "ABC", 100.0},
        {"", "", 0.0},
        {"", "ABC", 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(CCopyCheck(c.sent, c.copied).ScorePercent(), c.score) << c.copied;
    }
}

// Missed and added groups are counted as groups too.
TEST(CopyCheck, WholeGroupsAreCounted) {
    const CCopyCheck check("KUUSM XYZQW UMKUU AAAAA", "KUUSM UMKUU EEE AAAAA");
    EXPECT_EQ(check.MissedGroupCount(), 1);
    EXPECT_EQ(check.ExtraGroupCount(), 1);
    EXPECT_EQ(check.MissedCount(), 5);
    EXPECT_EQ(check.ExtraCount(), 3);
    EXPECT_EQ(CCopyCheck("ABC", "").MissedGroupCount(), 1);
    EXPECT_EQ(CCopyCheck("ABC", "AB").MissedGroupCount(), 0);
}

// A swap makes no confusion and no weak character.
TEST(CopyCheck, SwapIsNoConfusion) {
    const CCopyCheck check("PARIS 73 TEST", "PARIS 37 TST");
    EXPECT_TRUE(check.Confusions().empty());
    EXPECT_EQ(check.Characters().at('7').wrong, 0);
    EXPECT_EQ(check.Characters().at('3').wrong, 0);
    EXPECT_EQ(check.Characters().at('E').wrong, 1);
    const auto& entries = check.Entries();
    ASSERT_EQ(entries.size(), 11U);
    EXPECT_EQ(entries[5].sent, '7');
    EXPECT_EQ(entries[5].copied, '3');
    EXPECT_EQ(entries[5].position, 6U);
    EXPECT_EQ(entries[6].sent, '3');
    EXPECT_EQ(entries[6].copied, '7');
}

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
    // An extra character at the end of a group stands before the gap, right after the group.
    const CCopyCheck group("AB CD", "ABX CD");
    EXPECT_EQ(group.Entries()[2].mark, Mark::Extra);
    EXPECT_EQ(group.Entries()[2].position, 2U);
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
