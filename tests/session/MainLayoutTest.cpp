#include <gtest/gtest.h>

#include "session/ControlIds.h"
#include "session/MainLayout.h"

namespace {

// A fixed-pitch font whose W is 0.6 of its height wide and whose lines are 1.2 of it.
TextExtent Monospace(int height) {
    return {61 * static_cast<int>(height * 0.6), static_cast<int>(height * 1.2)};
}

TEST(MainLayout, DialogFontSizeFollowsTheScreenWidth) {
    const std::pair<int, int> cases[] = {{1000, 8},  {1001, 10}, {1400, 10},
                                         {1401, 11}, {1600, 11}, {1601, 12}};
    for (const auto& [width, size] : cases) {
        EXPECT_EQ(DialogFontSize(width), size) << width;
    }
}

TEST(MainLayout, FontFittingStopsAtTheFirstHeightThatReaches) {
    for (const int W : {800, 1366, 1920}) {
        const int height = FitMorseFont(W, Monospace);
        const int target = W - W / 3 + 50;
        EXPECT_GE(6 * (W / 100) + Monospace(height).width, target) << W;
        if (height > 10) {
            EXPECT_LT(6 * (W / 100) + Monospace(height - 1).width, target) << W;
        }
    }
    // A tiny screen keeps the first height tried.
    EXPECT_EQ(FitMorseFont(100, Monospace), 10);
}

struct Screen {
    int width;
    int height;
};

class ScreenLayout : public testing::TestWithParam<Screen> {};

TEST_P(ScreenLayout, EverythingInsideTheScreenAndNoControlsOverlap) {
    const Screen screen = GetParam();
    LayoutInput input{screen.width, screen.height, DialogFontSize(screen.width), 7};
    const MainLayout l = ComputeMainLayout(input, Monospace);
    // The text view holds 60 and a half characters; the rulers' ten divisions fit inside it.
    const double character = Monospace(l.fontHeight).width / 61.0;
    EXPECT_EQ(l.viewWidth, static_cast<int>(60.5 * character));
    EXPECT_LE(10 * l.sixCharacters, l.viewWidth);
    EXPECT_GE(10 * l.sixCharacters, l.viewWidth - static_cast<int>(character) - 10);
    EXPECT_EQ(l.viewHeight, static_cast<int>(Monospace(l.fontHeight).height * 5.3));

    const std::set<int> frames = {ids::kMorseTextFrame, ids::kGeneratorFrame,  ids::kTextFrame,
                                  ids::kOutputFrame,    ids::kParametersFrame, ids::kRatioFrame,
                                  ids::kVolumeFrame,    ids::kSendingFrame};
    std::vector<std::pair<int, LayoutRect>> inner;
    for (const auto& [id, r] : l.controls) {
        EXPECT_GE(r.x, 0) << id;
        EXPECT_GE(r.y, 0) << id;
        EXPECT_LE(r.x + r.width, screen.width) << id;
        EXPECT_LE(r.y + r.height, screen.height) << id;
        EXPECT_GT(r.width, 0) << id;
        if (frames.count(id) == 0) {
            inner.emplace_back(id, r);
        }
    }
    for (std::size_t i = 0; i < inner.size(); ++i) {
        for (std::size_t j = i + 1; j < inner.size(); ++j) {
            const LayoutRect& a = inner[i].second;
            const LayoutRect& b = inner[j].second;
            const bool overlap = a.x < b.x + b.width && b.x < a.x + a.width &&
                                 a.y < b.y + b.height && b.y < a.y + a.height;
            EXPECT_FALSE(overlap) << inner[i].first << " and " << inner[j].first;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenLayout,
                         testing::Values(Screen{800, 505}, Screen{1024, 673}, Screen{1366, 670},
                                         Screen{1920, 985}));

TEST(MainLayout, FixedFiguresFor1920) {
    LayoutInput input{1920, 1000, 12, 7};
    const MainLayout l = ComputeMainLayout(input, Monospace);
    EXPECT_EQ(l.u, 19);
    EXPECT_EQ(l.v, 10);
    // The four text buttons stand on the vertical midline.
    const int BW = 120;
    for (const int id : {ids::kLoad, ids::kSave, ids::kCustom, ids::kToPrint}) {
        EXPECT_EQ(l.controls.at(id).x, 1920 / 2 - BW / 2) << id;
        EXPECT_EQ(l.controls.at(id).width, BW);
        EXPECT_EQ(l.controls.at(id).height, BW / 3);
    }
    // The sending frame's right edge meets the centre frame's.
    const LayoutRect sending = l.controls.at(ids::kSendingFrame);
    const LayoutRect centre = l.controls.at(ids::kTextFrame);
    EXPECT_EQ(sending.x + sending.width, centre.x + centre.width);
    // "Generuj text" is level with "Do tisku".
    EXPECT_EQ(l.controls.at(ids::kGenerate).y, l.controls.at(ids::kToPrint).y);
    EXPECT_EQ(l.controls.at(ids::kMorseText).y, 5 * 19 + 8 * 10);
}

}  // namespace
