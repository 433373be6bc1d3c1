#pragma once

#include <chrono>
#include <cstdint>
#include <memory>

#include "output/CDelayTimer.h"

// A keyed output: Key switches it on for a duration and off again; SetTone sets the pitch of the
// following Key calls. The base class is the silent device: it opens nothing and keys nothing.
// Key runs on the keying engine's send thread; SetTone on that thread or, while no Key runs, on
// the user-interface thread. Devices are created and destroyed on the user-interface thread.
class COutputDevice {
public:
    COutputDevice();
    virtual ~COutputDevice();
    COutputDevice(const COutputDevice&) = delete;
    COutputDevice& operator=(const COutputDevice&) = delete;

    // Output on at once, off again when it returns, not before `durationUnits` 100-ns units.
    virtual void Key(std::int32_t durationUnits);
    // Takes effect from the next Key.
    virtual void SetTone(std::int32_t frequency);
    // How long after Key returns from switching the output on it is heard or seen.
    virtual std::chrono::nanoseconds OutputLatency() const;
    // Volume with 16 bits per channel, left in the low word; only a sound card has one.
    virtual void SetVolume(std::uint32_t volume);

    // The transmission's own timeline. A segment is what is keyed without a break: the
    // transmission from its start, and whatever follows a resumed pause or a step press. Each
    // element and gap of a segment lies on the timing model's timeline, counted in 100-ns units
    // from the segment's start. A device with a clock of its own (the sound card) places every
    // element there and paces the send thread by that clock; the others key in real time, with
    // the durations the engine's step correction gives them. All run on the send thread.

    // A transmission begins; nothing is keyed yet. The moment to prepare the device.
    virtual void BeginTransmission();
    // The transmission has ended, also when it was stopped: every output is off.
    virtual void EndTransmission();
    // A segment begins now.
    virtual void BeginSegment();
    // An element at `startUnits` of the segment, `lengthUnits` long by the model; `keyUnits` is
    // what to key in real time. The base (and every real-time device) keys Key(keyUnits).
    virtual void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                               std::int32_t keyUnits);
    // Waits until `endUnits` of the segment by the device's clock. False when the device keeps no
    // timeline of its own: the caller then waits in real time.
    virtual bool WaitOnTimeline(std::int64_t endUnits);

    bool IsOpen() const { return opened; }

protected:
    void SetOpen(bool flag) { opened = flag; }
    CDelayTimer& Timer() { return *timer; }

    // The tone last given to SetTone, in Hz; devices without a tone leave it at 0.
    std::int32_t frequency = 0;

private:
    std::unique_ptr<CDelayTimer> timer;
    bool opened = false;
};
