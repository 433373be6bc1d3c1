#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/training/AlignmentCases.h"
#include "text/CMorseText.h"
#include "training/CCopyCheckLayout.h"

namespace {

using Kind = CCopyCheckLayout::Kind;
using Mark = CCopyCheck::Mark;

struct LayoutCase {
    std::string name;
    std::string sent;  // as displayed: lines of sixty ending in CR LF
    std::string copied;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

// The whole layout must be readable: every box on the page, no two boxes sharing any area (the
// rulers and the legend included), every glyph in its own place inside its mark, and every
// character of the check shown once.
void ExpectReadable(const LayoutCase& c, const std::vector<double>& legend) {
    const CCopyCheck check(c.sent, c.copied);
    const CCopyCheckLayout layout(c.sent, check, legend);
    const CCopyCheckLayout::Box page{0, 0, layout.Width(), layout.Height()};
    const auto& items = layout.Items();
    int extras = 0;
    int missed = 0;
    int copied = 0;
    int characters = 0;
    int carets = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        const auto& item = items[k];
        ASSERT_TRUE(page.Contains(item.box)) << c.name << " item " << k;
        EXPECT_GT(item.box.width, 0.0) << c.name << " item " << k;
        EXPECT_GT(item.box.height, 0.0) << c.name << " item " << k;
        for (std::size_t other = k + 1; other < items.size(); ++other) {
            EXPECT_FALSE(item.box.Intersects(items[other].box))
                << c.name << ": item " << k << " (kind " << static_cast<int>(item.kind)
                << ") and item " << other << " (kind " << static_cast<int>(items[other].kind)
                << ")";
        }
        if (!item.glyphs.empty()) {
            EXPECT_EQ(item.glyphs.size(), item.text.size()) << c.name;
        }
        for (std::size_t g = 0; g < item.glyphs.size(); ++g) {
            EXPECT_TRUE(item.box.Contains(item.glyphs[g])) << c.name << " item " << k;
            for (std::size_t h = g + 1; h < item.glyphs.size(); ++h) {
                EXPECT_FALSE(item.glyphs[g].Intersects(item.glyphs[h])) << c.name;
            }
        }
        const int glyphs = static_cast<int>(item.glyphs.size());
        switch (item.kind) {
            case Kind::Extra:
                extras += glyphs;
                break;
            case Kind::MissedFrame:
                missed += glyphs;
                break;
            case Kind::Copied:
                copied += glyphs;
                break;
            case Kind::Character:
                characters += glyphs;
                break;
            case Kind::ExtraCaret:
                ++carets;
                break;
            default:
                break;
        }
    }
    EXPECT_EQ(extras, check.ExtraCount()) << c.name;
    EXPECT_EQ(missed, check.MissedCount()) << c.name;
    EXPECT_EQ(copied, check.WrongCount() + 2 * check.TranspositionCount()) << c.name;
    EXPECT_EQ(characters, check.SentCount() - check.MissedCount()) << c.name;
    EXPECT_EQ(carets > 0, check.ExtraCount() > 0) << c.name;
}

std::vector<LayoutCase> Cases() {
    std::vector<LayoutCase> cases;
    for (const AlignmentCase& c : kAlignmentCases) {
        cases.push_back({c.name, c.sent, c.copied});
    }
    // Texts of several lines as the display shows them, with slips of every kind.
    CMorseText text;
    text.SetText(CMorseText::Generate("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 7));
    const std::string shown = text.FormatLines();
    const std::string plain = text.GetText();
    cases.push_back({"ManyLinesAllRight", shown, plain});
    cases.push_back({"ManyLinesEmptyCopy", shown, ""});
    cases.push_back({"ManyLinesSecondHalfMissed", shown, plain.substr(0, plain.size() / 2)});
    cases.push_back({"HundredExtraAtOnePlace", shown,
                     plain.substr(0, 100) + std::string(100, 'E') + plain.substr(100)});
    cases.push_back({"ExtraAtEveryEndOfLine", shown, [&] {
                         std::string copy;
                         for (std::size_t i = 0; i < plain.size(); ++i) {
                             copy += plain[i];
                             if (i % 60 == 59) {
                                 copy += "QQ";
                             }
                         }
                         return copy;
                     }()});
    cases.push_back({"ExtraBeforeEveryCharacter", shown, [&] {
                         std::string copy;
                         for (const char c : plain) {
                             copy += c == ' ' ? std::string(" ") : std::string("E") + c;
                         }
                         return copy;
                     }()});
    cases.push_back({"ExtraAtTheStartAndTheEnd", shown, "XYZ " + plain + " XYZ"});
    std::mt19937 random(9);
    for (int round = 0; round < 20; ++round) {
        std::string copy;
        for (const char c : plain) {
            const unsigned roll = random() % 12;
            if (roll == 0) {
                copy += static_cast<char>('A' + random() % 26);
            } else if (roll == 1) {
                continue;
            } else if (roll == 2) {
                copy += c;
                copy += std::string(1 + random() % 4, static_cast<char>('A' + random() % 26));
            } else if (roll == 3 && !copy.empty() && copy.back() != ' ' && c != ' ') {
                copy.insert(copy.end() - 1, c);
            } else {
                copy += c;
            }
        }
        cases.push_back({"Random" + std::to_string(round), shown, copy});
    }
    // A line longer than sixty columns without its break still stays on the page.
    cases.push_back({"UnbrokenLongLine", std::string(150, 'A'), std::string(140, 'A') + "BBB"});
    return cases;
}

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, EveryMarkHasItsOwnPlaceOnThePage) {
    ExpectReadable(GetParam(), {4.5, 15.0, 6.0, 3.5, 7.0});
}

INSTANTIATE_TEST_SUITE_P(Table, Layout, testing::ValuesIn(Cases()), CaseName());

// Legend texts of any length wrap onto rows of their own and stay on the page.
TEST(CopyCheckLayout, LongLegendStaysOnThePage) {
    const LayoutCase c{"LongLegend", "ABCDE FGHIJ", "ABXDE FHGIJ"};
    ExpectReadable(c, {30.0, 50.0, 80.0, 0.0, 200.0});
    ExpectReadable(c, {});
}

// A group missed whole is one frame around the group, marked whole; two groups missed whole are
// two frames; the dash below is one per frame.
TEST(CopyCheckLayout, MissedGroupIsOneFrame) {
    const std::string sent = "KUUSM KSMMU UMKUU";
    const CCopyCheck check(sent, "KUUSM");
    const CCopyCheckLayout layout(sent, check, {});
    std::vector<CCopyCheckLayout::Item> frames;
    int dashes = 0;
    for (const auto& item : layout.Items()) {
        if (item.kind == Kind::MissedFrame) {
            frames.push_back(item);
        }
        dashes += item.kind == Kind::MissedDash ? 1 : 0;
    }
    ASSERT_EQ(frames.size(), 2U);
    EXPECT_EQ(dashes, 2);
    EXPECT_EQ(frames[0].text, "KSMMU");
    EXPECT_TRUE(frames[0].wholeGroup);
    EXPECT_TRUE(frames[0].box.Contains(layout.CellBox(0, 6)) ||
                frames[0].box.Intersects(layout.CellBox(0, 6)));
    EXPECT_FALSE(frames[0].box.Intersects(layout.CellBox(0, 5)));
    EXPECT_FALSE(frames[0].box.Intersects(layout.CellBox(0, 11)));
}

}  // namespace
