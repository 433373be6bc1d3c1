#include <gtest/gtest.h>

#include "text/CRandomSource.h"

namespace {

TEST(RandomSource, ClassicFifteenBitSequence) {
    CRandomSource random(1);
    EXPECT_EQ(random.Next(), 41);
    EXPECT_EQ(random.Next(), 18467);
    EXPECT_EQ(random.Next(), 6334);
    EXPECT_EQ(random.Next(), 26500);
    EXPECT_EQ(random.Next(), 19169);
}

TEST(RandomSource, NextBelowMatchesRejectingOneValueAtATime) {
    for (const int bound : {1, 2, 3, 10, 26, 36, 255, 510, 32767, 32768}) {
        CRandomSource fast(static_cast<std::uint32_t>(bound) * 7919U);
        CRandomSource slow(static_cast<std::uint32_t>(bound) * 7919U);
        for (int draw = 0; draw < 200; ++draw) {
            int expected = slow.Next();
            while (expected >= bound) {
                expected = slow.Next();
            }
            ASSERT_EQ(fast.NextBelow(bound), expected) << "bound " << bound << " draw " << draw;
        }
        // Both generators stand at the same state afterwards.
        EXPECT_EQ(fast.Next(), slow.Next());
    }
}

}  // namespace
