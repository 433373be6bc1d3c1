#include "engine/CProgressEvent.h"

void CProgressEvent::Wake() {
    changes.fetch_add(1, std::memory_order_release);
    changes.notify_one();
}

void CProgressEvent::Queue(std::int64_t dueNanoseconds) {
    const std::size_t at = pushed.load(std::memory_order_relaxed);
    if (at - taken.load(std::memory_order_acquire) == kQueueSize) {
        // Cannot happen with the look-ahead in use; the newest place is then reported with the
        // last one queued, which the progress thread cannot be reading while the queue is full.
        dueTimes[(at - 1) % kQueueSize] = dueNanoseconds;
    } else {
        dueTimes[at % kQueueSize] = dueNanoseconds;
        pushed.store(at + 1, std::memory_order_release);
    }
    Wake();
}

void CProgressEvent::Set(std::int64_t dueNanoseconds) {
    ++setCount;
    if (dueNanoseconds == 0) {
        // A waiter takes this signal; a pulse right after it finds nobody waiting.
        waiting.store(false, std::memory_order_relaxed);
    }
    Queue(dueNanoseconds);
}

void CProgressEvent::Pulse(std::int64_t dueNanoseconds) {
    ++pulseCount;
    if (dueNanoseconds != 0 || waiting.exchange(false, std::memory_order_acq_rel)) {
        Queue(dueNanoseconds);
    }
}

void CProgressEvent::SetEnd() {
    ended.store(true, std::memory_order_release);
    Wake();
}

CProgressEvent::Signal CProgressEvent::Wait() {
    std::int64_t due = 0;
    return Wait(due);
}

CProgressEvent::Signal CProgressEvent::Wait(std::int64_t& dueNanoseconds) {
    dueNanoseconds = 0;
    for (;;) {
        // Read before looking, so that a change made after the look ends the sleep at once.
        const std::uint32_t seen = changes.load(std::memory_order_acquire);
        const std::size_t next = taken.load(std::memory_order_relaxed);
        if (next != pushed.load(std::memory_order_acquire)) {
            waiting.store(false, std::memory_order_relaxed);
            dueNanoseconds = dueTimes[next % kQueueSize];
            taken.store(next + 1, std::memory_order_release);
            return Signal::Progress;
        }
        if (ended.load(std::memory_order_acquire)) {
            waiting.store(false, std::memory_order_relaxed);
            return Signal::End;
        }
        waiting.store(true, std::memory_order_release);
        // A pulse given after this store is queued, and its change wakes the wait below.
        if (pushed.load(std::memory_order_acquire) == next) {
            changes.wait(seen, std::memory_order_acquire);
        }
    }
}

void CProgressEvent::Reset() {
    waiting = false;
    ended = false;
    pushed = 0;
    taken = 0;
    setCount = 0;
    pulseCount = 0;
}

bool CProgressEvent::IsWaiting() const {
    return waiting.load(std::memory_order_acquire) &&
           taken.load(std::memory_order_acquire) == pushed.load(std::memory_order_acquire);
}
