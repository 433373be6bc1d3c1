#include <gtest/gtest.h>

#include <string>

#include "config/CPunctuationFile.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

// Only a line naming a table chooses it; anything else is the program's table.
TEST(PunctuationFile, ReadsOnlyWhatItWrites) {
    const struct {
        std::string bytes;
        Punctuation table;
    } cases[] = {
        {"", Punctuation::kProgram},
        {"tabulka=mezinarodni\n", Punctuation::kInternational},
        {"\xEF\xBB\xBFtabulka=mezinarodni  \r\n", Punctuation::kInternational},
        {"tabulka=mezinarodni\ntabulka=programova\n", Punctuation::kProgram},
        {"tabulka=Mezinarodni\n", Punctuation::kProgram},
        {"tabulka=mezinarodni" + std::string(200, ' ') + "\n", Punctuation::kProgram},
        {"tabulkamezinarodni\n", Punctuation::kProgram},
        {std::string("tabulka=mezi\0narodni", 20), Punctuation::kProgram},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CPunctuationFile::Parse(c.bytes), c.table) << c.bytes;
    }
    CTemporaryFolder folder;
    const CPunctuationFile file(folder.File("interpunkce"));
    EXPECT_EQ(file.Read(), Punctuation::kProgram);
    for (const Punctuation table : {Punctuation::kInternational, Punctuation::kProgram}) {
        ASSERT_TRUE(file.Write(table));
        EXPECT_EQ(file.Read(), table);
    }
}

}  // namespace
