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
