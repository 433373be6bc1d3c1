#include "session/CheckHistory.h"

#include <ctime>

#include "core/CNotifier.h"
#include "training/CHistoryFile.h"

CheckRecord StampLocalTime(CheckRecord record, std::chrono::system_clock::time_point now) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    record.year = local.tm_year + 1900;
    record.month = local.tm_mon + 1;
    record.day = local.tm_mday;
    record.hour = local.tm_hour;
    record.minute = local.tm_min;
    record.second = local.tm_sec;
    return record;
}

CheckRecord RecordCopyCheck(const CheckRecord& sending, const CCopyCheck& result,
                            std::chrono::system_clock::time_point now,
                            const std::string& historyPath, CNotifier& notifier) {
    CheckRecord record = StampLocalTime(sending, now);
    record.TakeResults(result);
    if (!CHistoryFile(historyPath).Append(record)) {
        notifier.WriteFailed(historyPath);
    }
    return record;
}
