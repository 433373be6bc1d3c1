#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

// The signals from the send thread to the progress thread, with the end of the transmission.
// Set: stays signalled until the progress thread takes it (one per keyed character).
// Pulse: wakes the progress thread only if it is waiting at that moment (one per word gap).
// A signal with a due time (a device that keys ahead of its sound says when the place is heard)
// is queued instead, in order, neither lost nor merged with the next, and handed over with its
// due time.
// End: set once when the transmission has finished; pending signals are taken before it.
// Set and Pulse run on the send thread, Wait on the progress thread; they never allocate.
class CProgressEvent {
public:
    enum class Signal { Progress, End };

    void Set(std::int64_t dueNanoseconds = 0);
    void Pulse(std::int64_t dueNanoseconds = 0);
    void SetEnd();
    // Progress thread: the next signal, with its due time in `dueNanoseconds` (0 for at once).
    Signal Wait(std::int64_t& dueNanoseconds);
    Signal Wait();
    // Back to the state of a new transmission.
    void Reset();

    // True while the progress thread waits with nothing pending.
    bool IsWaiting() const;
    // Signals given since the last Reset, for tests and diagnostics.
    int SetCount() const { return setCount; }
    int PulseCount() const { return pulseCount; }

private:
    void Queue(std::int64_t dueNanoseconds);

    // Queued due times: far more room than a look-ahead of a few hundred milliseconds fills.
    static constexpr std::size_t kQueueSize = 512;
    std::array<std::int64_t, kQueueSize> dueTimes{};
    std::size_t queueHead = 0;
    std::size_t queued = 0;
    mutable std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    bool waiting = false;
    bool released = false;
    bool ended = false;
    std::atomic<int> setCount{0};
    std::atomic<int> pulseCount{0};
};
