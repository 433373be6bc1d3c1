#include <gtest/gtest.h>

#include <string>

#include "core/CFist.h"
#include "engine/CTransmissionTimeline.h"
#include "tests/support/CaseName.h"

namespace {

struct TimelineCase {
    std::string name;
    std::string text;
    int kind;
    int signSpeed;
    int textSpeed;
    double ratio;
};

CMorseText Text(const TimelineCase& c) {
    CMorseText text;
    text.SetText(c.text);
    text.SetKind(c.kind);
    return text;
}

class FistTimeline : public testing::TestWithParam<TimelineCase> {};

// Without a fist, and with the fist that keys the model exactly, the timeline is the same to the
// 100-ns unit.
TEST_P(FistTimeline, NoFistIsTheModel) {
    const TimelineCase& c = GetParam();
    const CTransmissionTimeline plain(Text(c), c.signSpeed, c.textSpeed, c.ratio);
    const CTransmissionTimeline exact(Text(c), c.signSpeed, c.textSpeed, c.ratio,
                                      CFist(FistKind::kNone, 12345));
    EXPECT_EQ(plain.Tones(), exact.Tones());
    EXPECT_EQ(plain.EndUnits(), exact.EndUnits());
}

// A hand keys the same elements, in order and never overlapping, at lengths of its own that one
// seed repeats, taking about the model's time.
TEST_P(FistTimeline, HandsKeyTheSameElementsReproducibly) {
    const TimelineCase& c = GetParam();
    const CTransmissionTimeline plain(Text(c), c.signSpeed, c.textSpeed, c.ratio);
    for (const FistKind kind : {FistKind::kGoodHand, FistKind::kStraightKey, FistKind::kBug}) {
        const CTransmissionTimeline first(Text(c), c.signSpeed, c.textSpeed, c.ratio,
                                          CFist(kind, 77));
        const CTransmissionTimeline again(Text(c), c.signSpeed, c.textSpeed, c.ratio,
                                          CFist(kind, 77));
        const CTransmissionTimeline other(Text(c), c.signSpeed, c.textSpeed, c.ratio,
                                          CFist(kind, 78));
        ASSERT_EQ(first.Tones().size(), plain.Tones().size());
        EXPECT_EQ(first.Tones(), again.Tones());
        EXPECT_NE(first.Tones(), other.Tones());
        EXPECT_NE(first.Tones(), plain.Tones());
        for (std::size_t i = 0; i + 1 < first.Tones().size(); ++i) {
            const auto& tone = first.Tones()[i];
            EXPECT_GT(tone.lengthUnits, 0);
            EXPECT_LT(tone.startUnits + tone.lengthUnits, first.Tones()[i + 1].startUnits);
        }
        const double share = static_cast<double>(first.EndUnits()) / plain.EndUnits();
        EXPECT_GT(share, 0.8) << static_cast<int>(kind);
        EXPECT_LT(share, 1.3) << static_cast<int>(kind);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FistTimeline,
    testing::Values(TimelineCase{"Letters", "ABCDE FGHIJ KLMNO PQRST", kLetterText, 100, 100, 3.0},
                    TimelineCase{"SlowText", "QRZ? 599 73", kMixedText, 60, 20, 3.0},
                    TimelineCase{"CustomSpaces", "CQ  DE   OK1", kCustomText, 150, 60, 3.5},
                    TimelineCase{"Fast", "PARIS PARIS PARIS", kLetterText, 200, 200, 4.0}),
    CaseName());

}  // namespace
