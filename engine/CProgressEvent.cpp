#include "engine/CProgressEvent.h"

void CProgressEvent::Set() {
    ++setCount;
    std::lock_guard lock(mutex);
    if (waiting) {
        // A waiter takes the signal at once, as an auto-reset event hands it over.
        waiting = false;
        released = true;
        condition.notify_all();
    } else {
        signalled = true;
    }
}

void CProgressEvent::Pulse() {
    ++pulseCount;
    std::lock_guard lock(mutex);
    if (waiting) {
        waiting = false;
        released = true;
        condition.notify_all();
    }
}

void CProgressEvent::SetEnd() {
    std::lock_guard lock(mutex);
    ended = true;
    condition.notify_all();
}

CProgressEvent::Signal CProgressEvent::Wait() {
    std::unique_lock lock(mutex);
    if (signalled) {
        signalled = false;
        return Signal::Progress;
    }
    if (ended) {
        return Signal::End;
    }
    waiting = true;
    condition.wait(lock, [&] { return released || ended; });
    waiting = false;
    if (released) {
        released = false;
        return Signal::Progress;
    }
    return Signal::End;
}

void CProgressEvent::Reset() {
    std::lock_guard lock(mutex);
    signalled = false;
    waiting = false;
    released = false;
    ended = false;
    setCount = 0;
    pulseCount = 0;
}

bool CProgressEvent::IsWaiting() const {
    std::lock_guard lock(mutex);
    return waiting && !signalled;
}
