#pragma once

#include <cstdint>

#include "output/CDelayTimer.h"

// The clock and the gap timer of the keying engine, behind an interface so that tests can run
// transmissions in virtual time. Used by the send thread only.
class CTimeSource {
public:
    virtual ~CTimeSource();

    // A monotonic reading in ticks of Frequency() per second.
    virtual std::int64_t Now() = 0;
    virtual std::int64_t Frequency() const = 0;
    // Blocks for `durationUnits` 100-ns units; zero and negative return at once.
    virtual void Wait(std::int32_t durationUnits) = 0;
};

// The steady clock in nanoseconds and a CDelayTimer.
class CSystemTimeSource : public CTimeSource {
public:
    std::int64_t Now() override;
    std::int64_t Frequency() const override;
    void Wait(std::int32_t durationUnits) override;

private:
    CDelayTimer timer;
};
