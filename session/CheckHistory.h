#pragma once

#include <chrono>
#include <string>

#include "training/CCopyCheck.h"
#include "training/CHistoryFile.h"
#include "training/CheckRecord.h"

class CNotifier;

// The end of a copy check: its results and the local time are written into the record of how the
// text was sent, and the record is added to `history` (a failure is said).
// Returns the finished record. User-interface thread.
CheckRecord RecordCopyCheck(const CheckRecord& sending, const CCopyCheck& result,
                            std::chrono::system_clock::time_point now, const CHistoryFile& history,
                            CNotifier& notifier);
