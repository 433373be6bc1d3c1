#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "text/CMorseText.h"
#include "text/TextFile.h"

namespace {

std::string Lines(const std::string& text) {
    CMorseText t;
    t.SetText(text);
    return t.FormatLines();
}

TEST(TextFile, SavedTextsHaveTheLineForm) {
    CTemporaryFolder folder;
    ASSERT_TRUE(WriteFileBytes(folder.File("300.txt"), Lines(std::string(300, 'E')), false));
    EXPECT_EQ(ReadWholeFile(folder.File("300.txt")).size(), 310u);
    ASSERT_TRUE(WriteFileBytes(folder.File("61.txt"), Lines(std::string(61, 'E')), false));
    EXPECT_EQ(ReadWholeFile(folder.File("61.txt")), std::string(60, 'E') + "\r\nE");
}

TEST(TextFile, RoundTripOfAcceptedCharacters) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    const std::string original = "CQ CQ DE OK1ABC = 599 ?! /@,+ " + std::string(200, 'x');
    ASSERT_TRUE(WriteFileBytes(folder.File("t.txt"), Lines(original), false));
    const auto bytes = ReadFileBytes(folder.File("t.txt"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier).GetText(), original);
    EXPECT_TRUE(notifier.Events().empty());
}

TEST(TextFile, ReplacingAndAppending) {
    CTemporaryFolder folder;
    const std::string path = folder.File("f");
    ASSERT_TRUE(WriteFileBytes(path, "one", false));
    ASSERT_TRUE(WriteFileBytes(path, "two", false));
    EXPECT_EQ(ReadWholeFile(path), "two");
    ASSERT_TRUE(WriteFileBytes(path, "three", true));
    EXPECT_EQ(ReadWholeFile(path), "twothree");
    ASSERT_TRUE(WriteFileBytes(folder.File("new"), "x", true));
    EXPECT_EQ(ReadWholeFile(folder.File("new")), "x");
    // No temporary file is left beside the target.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// Appended lines begin on a line of their own, also after a last line cut short.
TEST(TextFile, AppendedLinesNeverGlueOntoACutLine) {
    const struct {
        const char* before;  // none: no file
        const char* after;
    } cases[] = {
        {nullptr, "B\n"}, {"", "B\n"}, {"A\n", "A\nB\n"}, {"A", "A\nB\n"}, {"A\r\n", "A\r\nB\n"}};
    for (const auto& c : cases) {
        CTemporaryFolder folder;
        const std::string path = folder.File("records");
        if (c.before != nullptr) {
            ASSERT_TRUE(WriteFileBytes(path, c.before, false));
        }
        ASSERT_TRUE(AppendLines(path, "B\n"));
        EXPECT_EQ(ReadWholeFile(path), c.after) << (c.before ? c.before : "(none)");
    }
}

// Two processes appending to one file at once, as two windows on one folder: every record of
// both is there, each whole on its own line.
TEST(TextFile, TwoProcessesAppendingLoseNothing) {
    CTemporaryFolder folder;
    const std::string path = folder.File("historie");
    constexpr int kRecords = 1000;
    std::vector<pid_t> writers;
    for (const char writer : {'a', 'b'}) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool written = true;
            for (int k = 0; k < kRecords; ++k) {
                written =
                    AppendLines(path, std::string(1, writer) + std::to_string(k) + "\n") && written;
            }
            _exit(written ? 0 : 1);
        }
        writers.push_back(child);
    }
    for (const pid_t child : writers) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::map<char, std::set<int>> seen;
    std::istringstream lines(ReadWholeFile(path));
    for (std::string line; std::getline(lines, line);) {
        ASSERT_GE(line.size(), 2U) << line;
        seen[line[0]].insert(std::stoi(line.substr(1)));
    }
    EXPECT_EQ(seen['a'].size() + seen['b'].size(), 2U * kRecords);
}

// The temporary file of a save whose process is gone goes; one of a running process, and files
// that only look alike, stay.
TEST(TextFile, StaleTemporariesAreRemoved) {
    CTemporaryFolder folder;
    const std::string running = "historie.tmp-" + std::to_string(getpid()) + "-0";
    const char* const kept[] = {"historie", "historie.tmp-12x-0", "notes.tmp-", "a.tmp-1-"};
    for (const std::string& name : {std::string("historie.tmp-2147483647-3"), running}) {
        WriteWholeFile(folder.File(name), "x");
    }
    for (const char* name : kept) {
        WriteWholeFile(folder.File(name), "x");
    }
    EXPECT_EQ(RemoveStaleTemporaries(folder.Path()), 1);
    EXPECT_FALSE(std::filesystem::exists(folder.File("historie.tmp-2147483647-3")));
    EXPECT_TRUE(std::filesystem::exists(folder.File(running)));
    for (const char* name : kept) {
        EXPECT_TRUE(std::filesystem::exists(folder.File(name))) << name;
    }
}

TEST(TextFile, ReplacedFileKeepsItsPermissions) {
    CTemporaryFolder folder;
    const std::string path = folder.File("f");
    WriteWholeFile(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileBytes(path, "new", false));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(TextFile, ReadOnlyTargetIsRefusedAndKept) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    const std::string path = folder.File("ro.txt");
    WriteWholeFile(path, "keep");
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(WriteFileBytesOrNotify(path, "lost", false, notifier));
    EXPECT_EQ(ReadWholeFile(path), "keep");
    EXPECT_EQ(notifier.Events(),
              std::vector<std::string>{"WriteFailed:" + path + ":" + std::to_string(EACCES)});
}

TEST(TextFile, WriteIntoMissingFolderFailsWithThePath) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    const std::string path = folder.File("missing/f.txt");
    EXPECT_FALSE(WriteFileBytesOrNotify(path, "x", false, notifier));
    EXPECT_EQ(notifier.Events(),
              std::vector<std::string>{"WriteFailed:" + path + ":" + std::to_string(ENOENT)});
}

TEST(TextFile, SymbolicLinkIsFollowed) {
    CTemporaryFolder folder;
    WriteWholeFile(folder.File("real"), "old");
    ASSERT_EQ(symlink(folder.File("real").c_str(), folder.File("link").c_str()), 0);
    ASSERT_TRUE(WriteFileBytes(folder.File("link"), "new", false));
    EXPECT_EQ(ReadWholeFile(folder.File("real")), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link")));
}

TEST(TextFile, MissingEmptyAndNonRegularFilesReadAsNothing) {
    CTemporaryFolder folder;
    EXPECT_FALSE(ReadFileBytes(folder.File("none")).has_value());
    WriteWholeFile(folder.File("empty"), "");
    EXPECT_FALSE(ReadFileBytes(folder.File("empty")).has_value());
    EXPECT_FALSE(ReadFileBytes(folder.Path()).has_value());
    EXPECT_FALSE(ReadFileBytes("/dev/zero").has_value());
}

TEST(TextFile, ZeroByteInFileEndsTheText) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    WriteWholeFile(folder.File("z"), std::string("AB\0CD\r\nEF", 9));
    const auto bytes = ReadFileBytes(folder.File("z"));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 9u);
    EXPECT_EQ(CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier).GetText(), "AB");
}

// A write that fails part way (here the file size limit, as a full disk would) leaves the file
// that was there untouched and no temporary file behind, whether it replaces or appends.
TEST(TextFile, FailedWriteKeepsThePreviousFile) {
    const std::function<bool(const std::string&)> writers[] = {
        [](const std::string& path) { return WriteFileBytes(path, std::string(4096, 'x'), false); },
        [](const std::string& path) { return AppendLines(path, std::string(4096, 'x') + "\n"); }};
    for (const auto& write : writers) {
        CTemporaryFolder folder;
        const std::string path = folder.File("init");
        WriteWholeFile(path, "previous contents\n");
        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 24;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool written = write(path);
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previousHandler);
        EXPECT_FALSE(written);
        EXPECT_EQ(ReadWholeFile(path), "previous contents\n");
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.Path())) {
            ++files;
        }
        EXPECT_EQ(files, 1);
    }
}

}  // namespace
