#include "tests/support/CFinishListener.h"

void CFinishListener::TransmissionFinished() {
    std::lock_guard lock(mutex);
    ++finished;
    condition.notify_all();
}

bool CFinishListener::WaitFor(int count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex);
    return condition.wait_for(lock, timeout, [&] { return finished >= count; });
}

void CFinishListener::SentTextChanged(const std::string& sentText) {
    std::lock_guard lock(mutex);
    lastSent = sentText;
}

std::string CFinishListener::LastSent() {
    std::lock_guard lock(mutex);
    return lastSent;
}
