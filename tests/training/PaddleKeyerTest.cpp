#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "training/CPaddleKeyer.h"

namespace {

// Moments in dots of 60 ms; a dash is three.
constexpr std::int64_t kDot = 60000000;

struct Action {
    double atDots;
    Paddle paddle;
    bool press;
};

struct KeyerCase {
    std::string name;
    KeyerMode mode;
    std::vector<Action> actions;
    std::string elements;  // what the keyer keys, "." and "-"
};

// The elements of the edges keyed, and whether each begins where the one before it (with its gap
// of one dot) ends or where a press started it.
std::string Elements(const std::vector<KeyEdge>& edges) {
    std::string elements;
    for (std::size_t i = 0; i + 1 < edges.size(); i += 2) {
        EXPECT_TRUE(edges[i].down && !edges[i + 1].down);
        const std::int64_t length = edges[i + 1].at - edges[i].at;
        elements += length == kDot ? '.' : length == 3 * kDot ? '-' : '?';
    }
    return elements;
}

class Keyer : public testing::TestWithParam<KeyerCase> {};

// The paddle's rules on virtual time: squeezes alternate, memory keeps a tap, and mode A stops
// with the element it is keying where mode B keys one more after a squeeze's release.
TEST_P(Keyer, KeysTheModesElements) {
    const KeyerCase& c = GetParam();
    CPaddleKeyer keyer(c.mode, kDot, 3.0);
    for (const Action& action : c.actions) {
        const auto at = static_cast<std::int64_t>(action.atDots * kDot);
        if (action.press) {
            keyer.Press(action.paddle, at);
        } else {
            keyer.Release(action.paddle, at);
        }
    }
    keyer.AdvanceTo(100 * kDot);
    EXPECT_FALSE(keyer.Sending());
    const std::vector<KeyEdge> edges = keyer.TakeEdges();
    EXPECT_EQ(Elements(edges), c.elements);
    // Every element after the first follows its predecessor's gap of one dot exactly, or starts
    // at a press after the keyer fell idle.
    for (std::size_t i = 2; i < edges.size(); i += 2) {
        EXPECT_GE(edges[i].at - edges[i - 1].at, kDot) << i;
    }
}

constexpr Paddle D = Paddle::kDot;
constexpr Paddle A = Paddle::kDash;

INSTANTIATE_TEST_SUITE_P(
    Modes, Keyer,
    testing::Values(
        // A lever held keys its element again and again; released, the element ends whole.
        KeyerCase{"DotsWhileHeld", KeyerMode::kIambicA, {{0, D, true}, {5.5, D, false}}, "..."},
        KeyerCase{
            "DashReleasedEarlyEndsWhole", KeyerMode::kIambicB, {{0, A, true}, {1, A, false}}, "-"},
        // A squeeze held alternates, starting with the lever pressed first.
        KeyerCase{"SqueezeAlternates",
                  KeyerMode::kIambicA,
                  {{0, A, true}, {0.5, D, true}, {10.5, A, false}, {10.5, D, false}},
                  "-.-."},
        // A squeeze released during the first dot: mode A keys the dot alone, mode B one more.
        KeyerCase{"SqueezeReleasedModeA",
                  KeyerMode::kIambicA,
                  {{0, D, true}, {0.2, A, true}, {0.6, D, false}, {0.6, A, false}},
                  "."},
        KeyerCase{"SqueezeReleasedModeB",
                  KeyerMode::kIambicB,
                  {{0, D, true}, {0.2, A, true}, {0.6, D, false}, {0.6, A, false}},
                  ".-"},
        // Both levers at once from rest: mode B remembers the one not started.
        KeyerCase{"BothAtOnceModeB",
                  KeyerMode::kIambicB,
                  {{0, D, true}, {0, A, true}, {0.5, D, false}, {0.5, A, false}},
                  ".-"},
        // Dot memory: a tap of the dot lever during a dash, let go before the dash ends, is
        // keyed after it in both modes.
        KeyerCase{"DotMemoryModeA",
                  KeyerMode::kIambicA,
                  {{0, A, true}, {1, A, false}, {1.5, D, true}, {2, D, false}},
                  "-."},
        KeyerCase{"DotMemoryModeB",
                  KeyerMode::kIambicB,
                  {{0, A, true}, {1, A, false}, {1.5, D, true}, {2, D, false}},
                  "-."},
        // Dash memory, tapped in the gap after a dot.
        KeyerCase{"DashMemoryInTheGap",
                  KeyerMode::kIambicA,
                  {{0, D, true}, {0.5, D, false}, {1.2, A, true}, {1.4, A, false}},
                  ".-"},
        // A press long after the keyer fell idle starts its element at once.
        KeyerCase{"IdleThenPress",
                  KeyerMode::kIambicB,
                  {{0, D, true}, {0.5, D, false}, {10, A, true}, {10.5, A, false}},
                  ".-"},
        // The straight key keys what the hand does, lengths and all.
        KeyerCase{"StraightKey",
                  KeyerMode::kStraight,
                  {{0, D, true}, {1, D, false}, {2, D, true}, {5, D, false}},
                  ".-"}),
    CaseName());

// An auto-repeated press (the keyboard's) changes nothing; a straight key's edges come at the
// moments given.
TEST(Keyer, RepeatedPressesAreOnePress) {
    CPaddleKeyer keyer(KeyerMode::kStraight, kDot, 3.0);
    keyer.Press(Paddle::kDot, 100);
    keyer.Press(Paddle::kDot, 200);
    keyer.Release(Paddle::kDot, 300);
    keyer.Release(Paddle::kDot, 400);
    EXPECT_EQ(keyer.TakeEdges(), (std::vector<KeyEdge>{{true, 100}, {false, 300}}));
}

}  // namespace
