#include <gtest/gtest.h>

#include <filesystem>

#include "config/CProgramFiles.h"
#include "config/LanguageFile.h"
#include "config/ProgramFolder.h"
#include "tests/support/CTemporaryFolder.h"

namespace {

namespace fs = std::filesystem;

// The English set goes only into the data folder the program makes for itself: a folder of the
// user's that holds an "init" is used as it is, and one with its own "jazyk" keeps it.
TEST(ProgramFolder, LanguageSetOnlyIntoTheProgramsOwnFolder) {
    CTemporaryFolder root;
    const std::string set = root.File("set");
    fs::create_directories(set);
    WriteWholeFile(set + "/local", "English\r\n");
    const std::string data = root.File("data");
    const std::string own = data + "/brumlo";

    // A current directory of the user's, with an "init".
    const std::string user = root.File("user");
    fs::create_directories(user);
    WriteWholeFile(user + "/init", "1\r\n");
    EXPECT_EQ(SetUpProgramFolder(user, data.c_str(), nullptr, set), user);
    EXPECT_FALSE(fs::exists(user + "/jazyk"));
    EXPECT_FALSE(fs::exists(own));

    // Elsewhere: the data folder, made and given the set.
    const std::string elsewhere = root.File("elsewhere");
    fs::create_directories(elsewhere);
    EXPECT_EQ(SetUpProgramFolder(elsewhere, data.c_str(), nullptr, set), own);
    EXPECT_EQ(ReadWholeFile(CProgramFiles(own).Language("local")), "English\r\n");
    EXPECT_FALSE(fs::exists(elsewhere + "/jazyk"));
    // A set the user has changed stays.
    WriteWholeFile(CProgramFiles(own).Language("local"), "Mine\r\n");
    EXPECT_EQ(SetUpProgramFolder(elsewhere, nullptr, root.Path().c_str(), set),
              root.File(".local/share/brumlo"));
    EXPECT_EQ(SetUpProgramFolder(elsewhere, data.c_str(), nullptr, set), own);
    EXPECT_EQ(ReadWholeFile(CProgramFiles(own).Language("local")), "Mine\r\n");
    // No absolute place at all: no folder.
    EXPECT_FALSE(SetUpProgramFolder(elsewhere, "relative", nullptr, set).has_value());
}

TEST(ProgramFolder, EveryFileNameIsBuiltInOnePlace) {
    for (const std::string folder : {"/x/brumlo", "/x/brumlo/"}) {
        const CProgramFiles files(folder);
        EXPECT_EQ(files.Folder(), "/x/brumlo/");
        EXPECT_EQ(files.Settings(), "/x/brumlo/init");
        EXPECT_EQ(files.RememberedText(), "/x/brumlo/initt");
        EXPECT_EQ(files.PrintCollection(), "/x/brumlo/tisk.tmp");
        EXPECT_EQ(files.History(), "/x/brumlo/historie");
        EXPECT_EQ(files.Course(), "/x/brumlo/kurz");
        EXPECT_EQ(files.Recognition(), "/x/brumlo/rozpoznani");
        EXPECT_EQ(files.CallsignRecords(), "/x/brumlo/volaci");
        EXPECT_EQ(files.SendingRecords(), "/x/brumlo/vysilani");
        EXPECT_EQ(files.Language("localSO"), "/x/brumlo/jazyk/localSO");
    }
}

// Captions added after the 47 of the original file come from a file only where it has a non-empty
// line for them: a trailing empty line of an older file blanks nothing.
TEST(LanguageFile, AddedCaptionsOnlyFromNonEmptyLines) {
    std::string original;
    for (int line = 1; line <= 47; ++line) {
        original += "caption " + std::to_string(line) + "\r\n";
    }
    using Lines = std::vector<std::optional<std::string>>;
    EXPECT_EQ(SplitPresentLanguageLines(original, 47, 3), Lines{});
    EXPECT_EQ(SplitPresentLanguageLines(original + "\r\n", 47, 3), (Lines{std::nullopt}));
    EXPECT_EQ(SplitPresentLanguageLines(original + "\r\nSound\r\n\r\n", 47, 3),
              (Lines{std::nullopt, "Sound", std::nullopt}));
    EXPECT_EQ(SplitPresentLanguageLines(original + "A\r\nB\r\nC\r\nD", 47, 3),
              (Lines{"A", "B", "C"}));
    EXPECT_EQ(SplitPresentLanguageLines("\r\nX", 0, 2), (Lines{std::nullopt, "X"}));
}

}  // namespace
