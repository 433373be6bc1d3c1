#include <gtest/gtest.h>

#include <string>

#include "core/AsciiText.h"

namespace {

// Only a-z change; every other byte, Windows-1250 letters among them, stays one byte as it was.
TEST(AsciiText, UpperCasesOnlyAsciiLetters) {
    std::string all;
    std::string expected;
    for (int byte = 0; byte < 256; ++byte) {
        all.push_back(static_cast<char>(byte));
        expected.push_back(static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 32 : byte));
    }
    EXPECT_EQ(AsciiUpper(all), expected);
    // Sharp s, e acute, c caron, a ogonek: unchanged.
    EXPECT_EQ(AsciiUpper("stra\xDF"
                         "e \xE9\xE8\xB9"),
              "STRA\xDF"
              "E \xE9\xE8\xB9");
}

}  // namespace
