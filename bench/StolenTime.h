#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

// What the host of a virtual machine takes from each processor: the "steal" column of /proc/stat,
// read every few milliseconds beside a measurement. A thread stalled while the host ran something
// else on its processor shows stolen time in the same milliseconds on that processor; a stall of
// the program's own making shows none. The kernel counts steal in hundredths of a second.
class CStolenTime {
public:
    CStolenTime();
    ~CStolenTime();
    CStolenTime(const CStolenTime&) = delete;
    CStolenTime& operator=(const CStolenTime&) = delete;

    // Stops the sampling; the queries below read what was sampled.
    void Stop();
    // Whether the kernel counts steal at all (a virtual machine that reports it).
    bool Available() const { return available; }
    // Milliseconds stolen from `processor` between the last sample before `fromNanoseconds` and
    // the first one after `toNanoseconds` (monotonic clock).
    double StolenMilliseconds(int processor, std::int64_t fromNanoseconds,
                              std::int64_t toNanoseconds) const;
    // Milliseconds stolen from all processors while sampling.
    double TotalMilliseconds() const;
    // The most any one processor lost to the host within `windowNanoseconds`, in milliseconds.
    double LongestMilliseconds(std::int64_t windowNanoseconds) const;

private:
    struct Sample {
        std::int64_t at = 0;
        std::vector<double> stolenMilliseconds;
    };
    void Run();

    std::vector<Sample> samples;
    std::atomic<bool> stop{false};
    bool available = false;
    std::thread sampler;
};

// Prints how many edges came over a millisecond after their model place, and how many of them
// came while the host held their processor (at least half of their lateness stolen there).
// Edge i came at atNanoseconds[i], lateNanoseconds[i] after its place, keyed on processors[i].
void PrintStallsBeside(const CStolenTime& steal, const std::vector<std::int64_t>& lateNanoseconds,
                       const std::vector<std::int64_t>& atNanoseconds,
                       const std::vector<int>& processors);
