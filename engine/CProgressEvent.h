#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

// The signals from the send thread to the progress thread, with the end of the transmission.
// Set: stays until the progress thread takes it (one per keyed character).
// Pulse: reaches the progress thread only if it is waiting at that moment (one per word gap).
// A signal with a due time (a device that keys ahead of its sound says when the place is heard)
// is always kept. Signals are taken in order, none lost or merged with the next, each with its
// due time.
// End: set once when the transmission has finished; pending signals are taken before it.
// Set and Pulse run on the send thread, Wait on the progress thread. Set and Pulse take no lock
// and never allocate: a progress thread that is not real-time can never hold up the keying.
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
    // Send thread: queues a signal and wakes the progress thread.
    void Queue(std::int64_t dueNanoseconds);
    void Wake();

    // Queued due times, one writer and one reader: far more room than a look-ahead of a few
    // seconds fills.
    static constexpr std::size_t kQueueSize = 512;
    std::array<std::int64_t, kQueueSize> dueTimes{};
    std::atomic<std::size_t> pushed{0};
    std::atomic<std::size_t> taken{0};
    // Counts every change the progress thread waits for; it sleeps on this word.
    std::atomic<std::uint32_t> changes{0};
    std::atomic<bool> waiting{false};
    std::atomic<bool> ended{false};
    std::atomic<int> setCount{0};
    std::atomic<int> pulseCount{0};
};
