#include <gtest/gtest.h>

#include <vector>

#include "tests/support/CaseName.h"
#include "training/CCopyCheck.h"
#include "training/CCopyCheckDifferences.h"

namespace {

using Kind = CCopyCheckDifferences::Kind;
using Difference = CCopyCheckDifferences::Difference;

struct DifferencesCase {
    const char* name;
    const char* sent;
    const char* copied;
    std::vector<Difference> expected;
};

void PrintTo(const DifferencesCase& c, std::ostream* out) {
    *out << c.name;
}

// Each difference is found where a learner looks on the sheet: by group and by character within
// the group, in the order of the sent text.
const DifferencesCase kCases[] = {
    {"AllRight", "ABCDE FGHIJ", "ABCDE FGHIJ", {}},
    {"WrongCharacter", "ABCDE FGHIJ", "ABCDE FXHIJ", {{Kind::Wrong, 2, 2, "G", "X"}}},
    {"MissedThenExtra",
     "ABCDE FGHIJ",
     "ABDE FGXHIJ",
     {{Kind::Missed, 1, 3, "C", ""}, {Kind::Extra, 2, 2, "", "X"}}},
    {"SwappedNeighbours", "KMRSU", "KRMSU", {{Kind::Swapped, 1, 2, "MR", "RM"}}},
    {"GroupMissedWhole",
     "ABCDE FGHIJ KLMNO",
     "ABCDE KLMNO",
     {{Kind::MissedGroup, 2, 0, "FGHIJ", ""}}},
    {"EverythingMissed",
     "ABC DE",
     "",
     {{Kind::MissedGroup, 1, 0, "ABC", ""}, {Kind::MissedGroup, 2, 0, "DE", ""}}},
    {"ExtraBeforeAnything", "KMRSU", "AKMRSU", {{Kind::Extra, 0, 0, "", "A"}}},
    {"ExtraAfterTheLast", "KMRSU", "KMRSUA", {{Kind::Extra, 1, 5, "", "A"}}},
    {"GroupAddedWhole", "ABCDE FGHIJ", "ABCDE XYZ FGHIJ", {{Kind::Extra, 1, 5, "", "XYZ"}}},
    {"NothingSent", "", "ABC", {{Kind::Extra, 0, 0, "", "ABC"}}},
    // The display's line breaks separate groups like spaces.
    {"AcrossLines", "ABCDE \r\nFGHIJ", "ABCDE FGXIJ", {{Kind::Wrong, 2, 3, "H", "X"}}},
    {"SeveralInOrder",
     "KMRSU AUTSK MRSAU",
     "KMRSU AUTK MXSAU",
     {{Kind::Missed, 2, 4, "S", ""}, {Kind::Wrong, 3, 2, "R", "X"}}},
};

class Differences : public testing::TestWithParam<DifferencesCase> {};

TEST_P(Differences, PlacedByGroupAndCharacter) {
    const DifferencesCase& c = GetParam();
    const CCopyCheck check(c.sent, c.copied);
    const CCopyCheckDifferences differences(c.sent, check);
    const std::vector<Difference>& found = differences.List();
    ASSERT_EQ(found.size(), c.expected.size());
    for (std::size_t k = 0; k < found.size(); ++k) {
        const Difference& d = found[k];
        const Difference& e = c.expected[k];
        EXPECT_EQ(d, e) << "difference " << k << ": kind " << static_cast<int>(d.kind) << ", group "
                        << d.group << ", character " << d.character << ", sent " << d.sent
                        << ", copied " << d.copied;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Differences, testing::ValuesIn(kCases), CaseName());

}  // namespace
