#include "engine/CWakeup.h"

bool CWakeup::Release() {
    std::lock_guard lock(mutex);
    if (!suspended) {
        return false;
    }
    released = true;
    condition.notify_all();
    return true;
}

void CWakeup::Notify() {
    // Taking the lock orders this call after a waiter's evaluation of its condition or before it:
    // either it sees the new state, or it is blocked and gets the notification.
    std::lock_guard lock(mutex);
    condition.notify_all();
}

bool CWakeup::IsSuspended() const {
    std::lock_guard lock(mutex);
    return suspended && !released;
}
