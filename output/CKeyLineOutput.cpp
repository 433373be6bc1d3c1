#include "output/CKeyLineOutput.h"

#include <algorithm>

#include "output/MonotonicClock.h"

void CKeyLineOutput::Key(std::int32_t durationUnits) {
    // The duration counts from the call, so that the switching's own time does not lengthen it.
    const std::int64_t start = MonotonicNanoseconds();
    SetLine(true);
    Timer().WaitUntil(start + static_cast<std::int64_t>(std::max(durationUnits, 0)) * 100);
    SetLine(false);
}

void CKeyLineOutput::BeginSegment() {
    origin = MonotonicNanoseconds();
    edgeUnits = 0;
    edgeNanoseconds = origin;
}

std::int64_t CKeyLineOutput::WaitForEdge(std::int64_t dueUnits, std::int64_t previousUnits,
                                         std::int64_t previousNanoseconds) {
    const std::int64_t halfInterval = (dueUnits - previousUnits) * 50;
    const std::int64_t due = std::max(At(dueUnits), previousNanoseconds + halfInterval);
    Timer().WaitUntil(due);
    // A stall beyond the half interval moves the rest of the segment with it.
    origin += due - At(dueUnits);
    return MonotonicNanoseconds();
}

void CKeyLineOutput::KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                                   std::int32_t) {
    const std::int64_t down = WaitForEdge(startUnits, edgeUnits, edgeNanoseconds);
    SetLine(true);
    const std::int64_t endUnits = startUnits + std::max(lengthUnits, 0);
    edgeNanoseconds = WaitForEdge(endUnits, startUnits, down);
    SetLine(false);
    edgeUnits = endUnits;
}

bool CKeyLineOutput::WaitOnTimeline(std::int64_t endUnits) {
    Timer().WaitUntil(At(endUnits));
    return true;
}

void CKeyLineOutput::EndTransmission() {
    SetLine(false);
}
