#include <gtest/gtest.h>

#include "session/CaptionText.h"

namespace {

TEST(CaptionText, FillsEachPlaceholderByItsNumber) {
    const struct {
        const char* pattern;
        std::initializer_list<std::string_view> arguments;
        const char* filled;
    } cases[] = {
        {"Správně: %1, %2 ms", {"K", "310"}, "Správně: K, 310 ms"},
        {"%2 před %1", {"A", "B"}, "B před A"},
        // An argument is not filled again, and a placeholder without an argument stays.
        {"%1 a %2", {"%2", "x"}, "%2 a x"},
        {"%1 %3", {"a"}, "a %3"},
        {"100 %", {"a"}, "100 %"},
        {"konec %", {}, "konec %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FillCaption(c.pattern, c.arguments), c.filled) << c.pattern;
    }
}

TEST(CaptionText, DecimalsInTheLanguagesSign) {
    EXPECT_EQ(DecimalText(98.04, 1, ","), "98,0");
    EXPECT_EQ(DecimalText(2.5, 1, "."), "2.5");
    EXPECT_EQ(DecimalText(66.66, 0, ","), "67");
}

TEST(CaptionText, Cp1250ToUtf8) {
    EXPECT_EQ(Utf8FromCp1250("\x8A\x9E\xE8\xF8\xED\xFD \x80 K"), "Šžčříý € K");
    EXPECT_EQ(Utf8FromCp1250("\x81"), "\xEF\xBF\xBD");
}

}  // namespace
