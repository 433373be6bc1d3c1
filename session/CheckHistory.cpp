#include "session/CheckHistory.h"

#include "core/CNotifier.h"

#include <cerrno>
#include "session/LocalStamp.h"

CheckRecord RecordCopyCheck(const CheckRecord& sending, const CCopyCheck& result,
                            std::chrono::system_clock::time_point now, const CHistoryFile& history,
                            CNotifier& notifier) {
    CheckRecord record = StampLocalTime(sending, now);
    record.TakeResults(result);
    if (!history.Append(record)) {
        notifier.WriteFailed(history.Path(), errno);
    }
    return record;
}
