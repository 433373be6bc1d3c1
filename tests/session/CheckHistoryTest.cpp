#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

#include "session/CheckHistory.h"
#include "tests/support/CRecordingNotifier.h"
#include "tests/support/CTemporaryFolder.h"
#include "training/CHistoryFile.h"

namespace {

std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour, int minute,
                                                int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&local));
}

// A finished check is stamped with the local time, carries its results and how it was sent, and
// is added to the history; a history that cannot be written is reported with its path.
TEST(CheckHistory, StampsAndAppendsEveryCheck) {
    CTemporaryFolder folder;
    CRecordingNotifier notifier;
    CheckRecord sending;
    sending.kind = 5;
    sending.lesson = 3;
    sending.signSpeed = 120;
    sending.textSpeed = 80;
    sending.ratioTenths = 34;
    const CHistoryFile path(folder.File("historie"));
    const CheckRecord first = RecordCopyCheck(sending, CCopyCheck("KMR KM", "KMS KM"),
                                              LocalTime(2031, 2, 28, 23, 59, 58), path, notifier);
    const CheckRecord second = RecordCopyCheck(sending, CCopyCheck("KM", "KM"),
                                               LocalTime(2031, 3, 1, 0, 0, 5), path, notifier);
    const std::vector<CheckRecord> history = path.Read();
    ASSERT_EQ(history.size(), 2U);
    EXPECT_EQ(history[0], first);
    EXPECT_EQ(history[1], second);
    EXPECT_EQ(
        (std::array{first.year, first.month, first.day, first.hour, first.minute, first.second}),
        (std::array{2031, 2, 28, 23, 59, 58}));
    EXPECT_EQ((std::array{second.month, second.day, second.second}), (std::array{3, 1, 5}));
    EXPECT_EQ((std::array{first.kind, first.lesson, first.signSpeed, first.textSpeed,
                          first.ratioTenths, first.sent, first.correct, first.errors}),
              (std::array{5, 3, 120, 80, 34, 5, 4, 1}));
    EXPECT_EQ(first.confusions.size(), 1U);
    EXPECT_TRUE(notifier.Events().empty());

    const CHistoryFile unwritable(folder.File("missing/historie"));
    RecordCopyCheck(sending, CCopyCheck("KM", "KM"), LocalTime(2031, 1, 1, 0, 0, 0), unwritable,
                    notifier);
    EXPECT_EQ(notifier.Events(), std::vector<std::string>{"WriteFailed:" + unwritable.Path() + ":" +
                                                          std::to_string(ENOENT)});
}

}  // namespace
