#pragma once

#include <cstdint>

#include "output/COutputDevice.h"

// An output that is a line switched on and off in real time (the serial port's DTR, the speaker
// gate). It keeps the transmission's timeline on the monotonic clock: a segment starts when it
// begins, and every edge is keyed at its own place on the timeline, so that a late wake-up makes
// only the edges it delays late instead of being carried into the steps that follow.
//
// An edge that comes late is keyed at once; no interval after it is made shorter than three
// quarters of its length, counted from the edge actually keyed before it. A long stall lengthens
// the interval it falls in, and the intervals after it give up at most a quarter each until the
// timeline is regained: a dash stays a dash, two elements never run into one, and a few intervals
// later the line keys on the model's timeline again.
//
// The path from a wake-up to an edge reads the clock and switches the line; it takes no lock and
// allocates nothing.
class CKeyLineOutput : public COutputDevice {
public:
    // Line on at once, off again `durationUnits` after the call.
    void Key(std::int32_t durationUnits) override;
    void BeginSegment() override;
    void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                       std::int32_t keyUnits) override;
    bool WaitOnTimeline(std::int64_t endUnits) override;
    // The line goes off, whatever state it was left in.
    void EndTransmission() override;

protected:
    // Switches the line; returns 0, or the system's reason (an errno value) when it refused.
    virtual int SetLine(bool on) = 0;

private:
    // Every edge is approached by reading the clock for this long: a thread woken from a sleep
    // is late by up to hundreds of microseconds now and then, and on a loaded desktop by more
    // than a millisecond. About 3 % of a processor at the highest speeds.
    static constexpr std::int64_t kSpinNanoseconds = 1500000;
    // The monotonic time of `units` on the segment.
    std::int64_t At(std::int64_t units) const { return origin + units * 100; }
    void WaitUntil(std::int64_t nanoseconds) { Timer().WaitUntil(nanoseconds, kSpinNanoseconds); }
    // Waits until `dueUnits` of the segment, the end of the interval that began at the last
    // edge, or until three quarters of that interval have passed since the last edge was keyed,
    // whichever is later.
    void WaitForEdge(std::int64_t dueUnits);

    void Switch(bool on);

    std::int64_t origin = 0;
    // Where the last edge lies on the segment, and when it was keyed.
    std::int64_t edgeUnits = 0;
    std::int64_t edgeKeyedAt = 0;
};
