#include <gtest/gtest.h>

#include <random>

#include "config/LanguageFile.h"
#include "config/SettingsFile.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

TEST(SettingsFile, WritesFourteenLinesByteForByte) {
    Settings settings;
    settings.portName = "/dev/ttyUSB0";
    settings.outputKind = 2;
    settings.letters = "ABC\xE8";
    settings.digits = "";
    settings.textKind = 3;
    settings.stepping = true;
    EXPECT_EQ(
        FormatSettings(settings),
        "1\r\n/dev/ttyUSB0\r\n2\r\nABC\xE8\r\n\r\n1\r\n3\r\n1\r\n8\r\n4\r\n0\r\n1\r\n0\r\n0\r\n");
    const std::vector<std::string> lines = SplitSettingsLines(FormatSettings(settings));
    ASSERT_EQ(lines.size(), kSettingsLines);
    EXPECT_EQ(lines[1], "/dev/ttyUSB0");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[13], "0");
}

TEST(SettingsFile, ShortLongAndOddLineEndings) {
    // Thirteen lines: the fourteenth reads as empty.
    const auto thirteen =
        SplitSettingsLines("1\r\nCOM2\r\n1\r\nA\r\n1\r\n1\r\n0\r\n1\r\n8\r\n4\r\n0\r\n0\r\n1\r\n");
    EXPECT_EQ(thirteen[12], "1");
    EXPECT_EQ(thirteen[13], "");
    // Line feeds alone, as an editor saves the file: the same lines.
    const auto lineFeeds = SplitSettingsLines("1\nCOM2\n1\n");
    EXPECT_EQ(lineFeeds[0], "1");
    EXPECT_EQ(lineFeeds[1], "COM2");
    EXPECT_EQ(lineFeeds[2], "1");
    EXPECT_EQ(lineFeeds[3], "");
    // A CR alone ends a line too; lines past the fourteenth are ignored.
    const auto odd = SplitSettingsLines("1\rXCOM3\r\n2");
    EXPECT_EQ(odd[1], "XCOM3");
    EXPECT_EQ(odd[2], "2");
    std::string extra;
    for (int i = 0; i < 20; ++i) {
        extra += std::to_string(i) + "\r\n";
    }
    EXPECT_EQ(SplitSettingsLines(extra).size(), kSettingsLines);
    EXPECT_EQ(SplitSettingsLines(std::string("1\r\nA\0B\r\n", 8))[1], "A");
}

TEST(SettingsFile, NumbersReadLikeAtoi) {
    const std::pair<const char*, int> cases[] = {{"12", 12},
                                                 {"  7x", 7},
                                                 {"-3", -3},
                                                 {"+4", 4},
                                                 {"", 0},
                                                 {"abc", 0},
                                                 {"\t\n 5", 5},
                                                 {"99999999999", 2147483647},
                                                 {"-99999999999", -2147483648},
                                                 {"1 2", 1},
                                                 {"--1", 0}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ParseNumber(text), value) << text;
    }
}

TEST(LanguageFile, LineRules) {
    EXPECT_EQ(SplitLanguageLines("a\r\nb\r\n", 3), (std::vector<std::string>{"a", "b", ""}));
    EXPECT_EQ(SplitLanguageLines("a\r\nb", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitLanguageLines("a\rXb", 2), (std::vector<std::string>{"a", "Xb"}));
    // Line feeds alone, as an editor saves the file: the same captions.
    EXPECT_EQ(SplitLanguageLines("a\nb\n", 2), (std::vector<std::string>{"a", "b"}));
    // A line of megabytes is cut to a caption's length and the next line is still the next.
    const std::string huge = std::string(10'000'000, 'x') + "\r\nb";
    EXPECT_EQ(SplitLanguageLines(huge, 2),
              (std::vector<std::string>{std::string(kLongestCaption, 'x'), "b"}));
    EXPECT_EQ(SplitLanguageLines("\r\n\r\nc", 3), (std::vector<std::string>{"", "", "c"}));
    EXPECT_EQ(SplitLanguageLines("", 2), (std::vector<std::string>{"", ""}));
}

TEST(LanguageFile, MissingFileGivesNothingEmptyFileBlanks) {
    CTemporaryFolder folder;
    EXPECT_FALSE(ReadLanguageFile(folder.File("none"), 3).has_value());
    EXPECT_FALSE(ReadLanguageFile(folder.Path(), 3).has_value());
    WriteWholeFile(folder.File("empty"), "");
    EXPECT_EQ(ReadLanguageFile(folder.File("empty"), 2), (std::vector<std::string>{"", ""}));
}

TEST(SettingsFile, AnyBytesAreRead) {
    std::mt19937 random(5);
    for (int round = 0; round < 500; ++round) {
        std::string bytes(random() % 400, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random() % 256);
        }
        const auto lines = SplitSettingsLines(bytes);
        ASSERT_EQ(lines.size(), kSettingsLines);
        std::size_t total = 0;
        for (const std::string& line : lines) {
            ParseNumber(line);
            total += line.size();
        }
        EXPECT_LE(total, bytes.size());
        EXPECT_EQ(SplitLanguageLines(bytes, 47).size(), 47u);
    }
}

}  // namespace
