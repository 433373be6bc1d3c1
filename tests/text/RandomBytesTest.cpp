#include <gtest/gtest.h>

#include <random>

#include "core/CMorseTable.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "text/CMorseText.h"
#include "text/TextFile.h"

namespace {

std::string RandomBytes(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(length, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(byte(random));
    }
    return bytes;
}

// Any byte string goes through the table, the element string, the line forms and file reading
// without fault (the sanitizer build checks the memory accesses), and the results keep their
// invariants.
TEST(RandomBytes, EveryPathAcceptsAnyBytes) {
    std::mt19937 random(20261207);
    CTemporaryFolder folder;
    CSilentNotifier silent;
    for (int round = 0; round < 300; ++round) {
        const std::size_t length = static_cast<std::size_t>(random() % 1200);
        const std::string bytes = RandomBytes(random, length);

        std::string edited = bytes;
        CMorseTable::RemoveInvalidCharacters(edited, round % 2 == 0, silent);
        for (const char c : edited) {
            EXPECT_TRUE(c == ' ' || CMorseTable::HasCode(c));
        }

        CMorseText text;
        text.SetText(bytes);
        text.SetKind(round % 5);
        text.SetShortZeros(round % 2);
        const std::string elements = text.ToElements();
        EXPECT_EQ(elements.find_first_not_of(".-m "), std::string::npos);
        const std::string lines = text.FormatLines();
        EXPECT_EQ(lines.size(), bytes.size() + bytes.size() / 60 * 2);

        WriteWholeFile(folder.File("r"), bytes);
        if (const auto read = ReadFileBytes(folder.File("r"))) {
            const CMorseText loaded = CMorseText::LoadFromFileContents(*read, kCustomText, silent);
            EXPECT_LE(loaded.GetText().size(), 300u);
            for (const char c : loaded.GetText()) {
                EXPECT_TRUE(c == ' ' || CMorseTable::HasCode(c));
            }
        }
    }
}

}  // namespace
