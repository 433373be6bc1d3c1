#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// The signals from the send thread to the progress thread, with the end of the transmission.
// Set: stays signalled until the progress thread takes it (one per keyed character).
// Pulse: wakes the progress thread only if it is waiting at that moment (one per word gap).
// End: set once when the transmission has finished; a pending Set is taken before it.
class CProgressEvent {
public:
    enum class Signal { Progress, End };

    void Set();
    void Pulse();
    void SetEnd();
    // Progress thread: the next signal.
    Signal Wait();
    // Back to the state of a new transmission.
    void Reset();

    // True while the progress thread waits with nothing pending.
    bool IsWaiting() const;
    // Signals given since the last Reset, for tests and diagnostics.
    int SetCount() const { return setCount; }
    int PulseCount() const { return pulseCount; }

private:
    mutable std::mutex mutex;
    std::condition_variable condition;
    bool signalled = false;
    bool waiting = false;
    bool released = false;
    bool ended = false;
    std::atomic<int> setCount{0};
    std::atomic<int> pulseCount{0};
};
