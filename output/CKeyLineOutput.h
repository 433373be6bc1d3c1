#pragma once

#include <cstdint>

#include "output/COutputDevice.h"

// An output that is a line switched on and off in real time (the serial port's DTR, the speaker
// gate). It keeps the transmission's timeline on the monotonic clock: a segment starts when it
// begins, and every edge is keyed at its own place on the timeline, so that a late wake-up makes
// only the edges it delays late instead of being carried into the steps that follow.
//
// An edge that comes late is keyed at once, but never so late that it takes more than half of
// the element or gap before it: a stall longer than that lengthens the timeline rather than
// turning a dash into a dot or two elements into one.
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
    virtual void SetLine(bool on) = 0;

private:
    // The monotonic time of `units` on the segment, with the slip stalls have added.
    std::int64_t At(std::int64_t units) const { return origin + units * 100; }
    // Waits until `dueUnits` of the segment, but at least half of the interval that began at
    // `previousUnits` (keyed at `previousNanoseconds`); returns the moment it got there.
    std::int64_t WaitForEdge(std::int64_t dueUnits, std::int64_t previousUnits,
                             std::int64_t previousNanoseconds);

    std::int64_t origin = 0;
    // Where the last edge lies on the segment, and when it was keyed.
    std::int64_t edgeUnits = 0;
    std::int64_t edgeNanoseconds = 0;
};
