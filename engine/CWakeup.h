#pragma once

#include <condition_variable>
#include <mutex>

// Stands in for suspending and resuming the send thread. The send thread suspends itself with a
// condition that ends the suspension on its own (a stop, a withdrawn pause); another thread
// releases it. A release while the send thread is not suspended has no effect and is not
// remembered, so a step pressed while a character is being keyed is lost, as it must be; a stop
// that arrives between the send thread's last look at its flags and its suspension still ends the
// suspension, because the condition is evaluated under the lock that Notify takes.
class CWakeup {
public:
    // Send thread: blocks until Release() or until `endWait()` is true. `endWait` reads state that
    // other threads change before they call Notify().
    template <typename Predicate>
    void Suspend(Predicate endWait) {
        std::unique_lock lock(mutex);
        suspended = true;
        released = false;
        condition.wait(lock, [&] { return released || endWait(); });
        suspended = false;
        released = false;
    }

    // Releases a suspended send thread; returns false (and remembers nothing) when none waits.
    bool Release();
    // Wakes a suspended send thread to look at its end condition again.
    void Notify();
    // True while the send thread is suspended and no release for it is pending.
    bool IsSuspended() const;

private:
    mutable std::mutex mutex;
    std::condition_variable condition;
    bool suspended = false;
    bool released = false;
};
