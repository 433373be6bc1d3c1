#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "core/CMorseTable.h"
#include "text/CMorseText.h"
#include "text/CRandomSource.h"
#include "text/CTrafficText.h"
#include "text/WordLists.h"

namespace {

// The regular shape of a home callsign: a prefix that holds a letter, the call area's digit, one
// to three letters.
const std::string kPlain = "(?:[A-Z]{1,2}|[0-9][A-Z]|[A-Z][0-9])[0-9][A-Z]{1,3}";

struct ShapeCase {
    const char* name;
    CTrafficText::CallsignShape shape;
    std::string pattern;
};

class CallsignShapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(CallsignShapes, EveryDrawHasItsShape) {
    const std::regex pattern(GetParam().pattern);
    CRandomSource random(7);
    for (int k = 0; k < 500; ++k) {
        const std::string call = CTrafficText::Callsign(GetParam().shape, random);
        EXPECT_TRUE(std::regex_match(call, pattern)) << call;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Traffic, CallsignShapes,
    testing::Values(ShapeCase{"Plain", CTrafficText::CallsignShape::Plain, kPlain},
                    ShapeCase{"Portable", CTrafficText::CallsignShape::Portable,
                              kPlain + "/(?:P|M|QRP)"},
                    ShapeCase{"CountryPrefixed", CTrafficText::CallsignShape::CountryPrefixed,
                              "[A-Z0-9]{1,3}/" + kPlain},
                    ShapeCase{"SpecialEvent", CTrafficText::CallsignShape::SpecialEvent,
                              // A prefix of two letters, so that it never runs into the number.
                              "[A-Z]{2}[0-9]{2,3}[A-Z]{1,3}"}),
    [](const testing::TestParamInfo<ShapeCase>& param) { return std::string(param.param.name); });

TEST(TrafficText, CallsignTextsMixEveryShape) {
    const std::regex portable(kPlain + "/(?:P|M|QRP)");
    const std::regex guest("[A-Z0-9]{1,3}/" + kPlain);
    const std::regex plain(kPlain);
    int plainCount = 0;
    int portableCount = 0;
    int guestCount = 0;
    int total = 0;
    for (std::uint32_t seed = 0; seed < 40; ++seed) {
        const std::string text = CTrafficText::Callsigns(seed);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            end = end == std::string::npos ? text.size() : end;
            const std::string call = text.substr(start, end - start);
            plainCount += std::regex_match(call, plain) ? 1 : 0;
            portableCount += std::regex_match(call, portable) ? 1 : 0;
            guestCount += std::regex_match(call, guest) ? 1 : 0;
            ++total;
            start = end + 1;
        }
    }
    // Most callsigns are plain, as on the air, but the other forms come up too.
    EXPECT_GT(plainCount, total / 2);
    EXPECT_GT(portableCount, total / 20);
    EXPECT_GT(guestCount, total / 40);
}

struct TextCase {
    const char* name;
    std::function<std::string(std::uint32_t)> generate;
};

class TrafficTexts : public testing::TestWithParam<TextCase> {};

// Every text fills most of the display with whole words of characters that have a code, and a
// seed always gives the same text.
TEST_P(TrafficTexts, FillTheDisplayWithKeyableWords) {
    std::set<std::string> distinct;
    for (std::uint32_t seed = 0; seed < 30; ++seed) {
        const std::string text = GetParam().generate(seed);
        ASSERT_LE(text.size(), static_cast<std::size_t>(kMaxTextLength));
        EXPECT_GT(text.size(), static_cast<std::size_t>(kMaxTextLength - 40)) << text;
        EXPECT_NE(text.front(), ' ');
        EXPECT_NE(text.back(), ' ');
        EXPECT_EQ(text.find("  "), std::string::npos) << text;
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (const std::size_t close = CMorseText::ProsignClose(text, k);
                close != std::string::npos) {
                k = close;
                continue;
            }
            EXPECT_TRUE(text[k] == ' ' || CMorseTable::HasCode(text[k])) << text;
        }
        EXPECT_EQ(GetParam().generate(seed), text);
        distinct.insert(text);
    }
    EXPECT_GT(distinct.size(), 25u);
}

INSTANTIATE_TEST_SUITE_P(
    Traffic, TrafficTexts,
    testing::Values(
        TextCase{"CzechWords",
                 [](std::uint32_t seed) { return CTrafficText::Words(CzechWords(), seed); }},
        TextCase{"EnglishWords",
                 [](std::uint32_t seed) { return CTrafficText::Words(EnglishWords(), seed); }},
        TextCase{"Callsigns", [](std::uint32_t seed) { return CTrafficText::Callsigns(seed); }},
        TextCase{"Abbreviations",
                 [](std::uint32_t seed) { return CTrafficText::Abbreviations(seed); }},
        TextCase{"Contacts", [](std::uint32_t seed) { return CTrafficText::Contacts(seed); }}),
    [](const testing::TestParamInfo<TextCase>& param) { return std::string(param.param.name); });

TEST(TrafficText, WordsComeFromTheListCommonOnesMoreOften) {
    const std::string list =
        "ALFA\nBRAVO\r\nCH\xE8ZE\nCHARLIE\n\nDELTA\nECHO\nFOXTROT\nGOLF\nHOTEL";
    std::map<std::string, int> counts;
    for (std::uint32_t seed = 0; seed < 50; ++seed) {
        const std::string text = CTrafficText::Words(list, seed);
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find(' ', start);
            end = end == std::string::npos ? text.size() : end;
            ++counts[text.substr(start, end - start)];
            start = end + 1;
        }
    }
    // The word with a character without a code and the empty line are never drawn.
    EXPECT_EQ(counts.size(), 8u);
    EXPECT_EQ(counts.count("CH\xE8ZE"), 0u);
    EXPECT_GT(counts["ALFA"], 2 * counts["HOTEL"]);
}

TEST(TrafficText, ListsWithoutAUsableWordGiveNothing) {
    for (const std::string list : {"", "\n\n", "\xE8\xE8\n\r\n", "A-B"}) {
        EXPECT_EQ(CTrafficText::Words(list, 1), "") << list;
    }
}

TEST(TrafficText, ContactsHoldEachKindOfExchange) {
    std::string all;
    for (std::uint32_t seed = 0; seed < 30; ++seed) {
        all += CTrafficText::Contacts(seed) + " ";
    }
    for (const char* mark :
         {"CQ TEST", "5NN", "CQ SOTA", "CQ POTA", "/P", "RST", "NAME", "QTH", "73", "SK"}) {
        EXPECT_NE(all.find(mark), std::string::npos) << mark;
    }
}

}  // namespace
