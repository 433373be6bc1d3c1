#include "session/CheckHistory.h"

#include "core/CNotifier.h"
#include "session/LocalStamp.h"
#include "training/CHistoryFile.h"

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
