#include "output/CKeyLineOutput.h"

#include <algorithm>

#include "output/MonotonicClock.h"

void CKeyLineOutput::Key(std::int32_t durationUnits) {
    // The duration counts from the call, so that the switching's own time does not lengthen it.
    const std::int64_t start = MonotonicNanoseconds();
    Switch(true);
    Timer().WaitUntil(start + static_cast<std::int64_t>(std::max(durationUnits, 0)) * 100);
    Switch(false);
}

void CKeyLineOutput::BeginSegment() {
    origin = MonotonicNanoseconds();
    edgeUnits = 0;
    edgeKeyedAt = origin;
}

void CKeyLineOutput::WaitForEdge(std::int64_t dueUnits) {
    const std::int64_t length = (dueUnits - edgeUnits) * 100;
    WaitUntil(std::max(At(dueUnits), edgeKeyedAt + length - length / 4));
    edgeKeyedAt = MonotonicNanoseconds();
    edgeUnits = dueUnits;
}

void CKeyLineOutput::KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                                   std::int32_t) {
    WaitForEdge(startUnits);
    Switch(true);
    WaitForEdge(startUnits + std::max(lengthUnits, 0));
    Switch(false);
}

bool CKeyLineOutput::WaitOnTimeline(std::int64_t endUnits) {
    WaitUntil(At(endUnits));
    return true;
}

void CKeyLineOutput::EndTransmission() {
    Switch(false);
}

void CKeyLineOutput::Switch(bool on) {
    if (const int error = SetLine(on); error != 0) {
        NoteRefusal(error);
    }
}
