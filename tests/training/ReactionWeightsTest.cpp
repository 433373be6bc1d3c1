#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "training/CCharacterWeights.h"

namespace {

const std::string kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

CheckRecord Copied(const std::map<char, CCopyCheck::CharacterCount>& counts) {
    CheckRecord record;
    record.characters = counts;
    return record;
}

struct HistoryCase {
    const char* name;
    std::vector<CheckRecord> history;
};

class WeightsWithoutTimes : public testing::TestWithParam<HistoryCase> {};

// With no reaction times the weights are exactly those of the copy checks alone: the same
// weighted set to the last position, so that generated texts stay as they were.
TEST_P(WeightsWithoutTimes, AreThoseOfTheCopyChecksAlone) {
    const CCharacterWeights checksOnly(GetParam().history);
    const CCharacterWeights withNoTimes(GetParam().history, {});
    EXPECT_EQ(withNoTimes.HasHistory(), checksOnly.HasHistory());
    for (const std::string& set : {kLetters, std::string("KM RS"), std::string("0123456789")}) {
        EXPECT_EQ(withNoTimes.Weighted(set), checksOnly.Weighted(set)) << set;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Histories, WeightsWithoutTimes,
    testing::Values(HistoryCase{"None", {}},
                    HistoryCase{"OneWeakLetter", {Copied({{'S', {40, 30}}, {'E', {50, 1}}})}},
                    HistoryCase{"Digits", {Copied({{'5', {10, 2}}, {'0', {10, 0}}})}}),
    CaseName());

// Timed by instant recognition only: the slower a character than the typical one, the larger
// its share, a typical or quicker one keeps a smaller one, and none falls below half its fair
// share however slow another is.
TEST(ReactionWeights, SlowCharactersWeighMoreInOrderOfTheirTime) {
    std::map<char, int> times;
    for (const char c : kLetters) {
        times[c] = 400;
    }
    times['Q'] = 1200;  // three times typical: the most the slowness counts
    times['Y'] = 5000;  // far slower still: the same as Q
    times['H'] = 700;
    times['E'] = 200;  // quicker than typical: no gain, no loss beyond the others'
    const CCharacterWeights weights({}, times);
    EXPECT_TRUE(weights.HasHistory());
    const auto shares = weights.Shares(kLetters);
    EXPECT_GT(shares.at('Q'), shares.at('H'));
    EXPECT_GT(shares.at('H'), shares.at('A'));
    EXPECT_DOUBLE_EQ(shares.at('Y'), shares.at('Q'));
    EXPECT_DOUBLE_EQ(shares.at('E'), shares.at('A'));
    const double fair = 1.0 / 26;
    for (const auto& [c, share] : shares) {
        EXPECT_GE(share, 0.5 * fair - 1e-12) << c;
    }
    EXPECT_NE(weights.Weighted(kLetters), kLetters);
}

// Errors and slowness add up: of two characters copied equally badly, the slower comes up more;
// of two equally slow, the one copied worse.
TEST(ReactionWeights, ErrorsAndSlownessAddUp) {
    const std::vector<CheckRecord> history = {
        Copied({{'A', {50, 20}}, {'B', {50, 20}}, {'C', {50, 0}}, {'D', {50, 0}}})};
    const std::map<char, int> times = {{'A', 900}, {'B', 450}, {'C', 900}, {'D', 450}};
    const auto shares = CCharacterWeights(history, times).Shares("ABCD");
    EXPECT_GT(shares.at('A'), shares.at('B'));
    EXPECT_GT(shares.at('A'), shares.at('C'));
    EXPECT_GT(shares.at('B'), shares.at('D'));
    EXPECT_GT(shares.at('C'), shares.at('D'));
}

}  // namespace
