#include "engine/CProgressEvent.h"

void CProgressEvent::Queue(std::int64_t dueNanoseconds) {
    std::lock_guard lock(mutex);
    if (queued == kQueueSize) {
        // Cannot happen with the look-ahead in use; the newest place is then reported with the
        // last one queued.
        dueTimes[(queueHead + queued - 1) % kQueueSize] = dueNanoseconds;
    } else {
        dueTimes[(queueHead + queued) % kQueueSize] = dueNanoseconds;
        ++queued;
    }
    condition.notify_all();
}

void CProgressEvent::Set(std::int64_t dueNanoseconds) {
    ++setCount;
    if (dueNanoseconds != 0) {
        Queue(dueNanoseconds);
        return;
    }
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

void CProgressEvent::Pulse(std::int64_t dueNanoseconds) {
    ++pulseCount;
    if (dueNanoseconds != 0) {
        Queue(dueNanoseconds);
        return;
    }
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
    std::int64_t due = 0;
    return Wait(due);
}

CProgressEvent::Signal CProgressEvent::Wait(std::int64_t& dueNanoseconds) {
    dueNanoseconds = 0;
    std::unique_lock lock(mutex);
    const auto takeQueued = [&] {
        dueNanoseconds = dueTimes[queueHead];
        queueHead = (queueHead + 1) % kQueueSize;
        --queued;
        return Signal::Progress;
    };
    if (queued != 0) {
        return takeQueued();
    }
    if (signalled) {
        signalled = false;
        return Signal::Progress;
    }
    if (ended) {
        return Signal::End;
    }
    waiting = true;
    condition.wait(lock, [&] { return released || ended || queued != 0; });
    waiting = false;
    if (released) {
        released = false;
        return Signal::Progress;
    }
    if (queued != 0) {
        return takeQueued();
    }
    return Signal::End;
}

void CProgressEvent::Reset() {
    std::lock_guard lock(mutex);
    signalled = false;
    waiting = false;
    released = false;
    ended = false;
    queueHead = 0;
    queued = 0;
    setCount = 0;
    pulseCount = 0;
}

bool CProgressEvent::IsWaiting() const {
    std::lock_guard lock(mutex);
    return waiting && !signalled;
}
