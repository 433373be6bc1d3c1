#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/OutputKind.h"
#include "core/ReceptionSettings.h"
#include "output/CDelayTimer.h"

// How a transmission is sent: the whole text at the chosen speeds, or one character per press.
enum class TransmissionPace { Continuous, Stepping };

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
    // Volume with 16 bits per channel, left in the low word; only a sound card has one.
    virtual void SetVolume(std::uint32_t volume);
    // The reception conditions of the next transmission and the seed it is keyed from, given
    // before BeginTransmission. Only a sound card makes them heard; the others key the wanted
    // signal alone (its fist is the engine's).
    virtual void SetReceptionConditions(const ReceptionSettings& settings, std::uint64_t seed);

    // The transmission's own timeline. A segment is what is keyed without a break: the
    // transmission from its start, and whatever follows a resumed pause or a step press. Each
    // element and gap of a segment lies on the timing model's timeline, counted in 100-ns units
    // from the segment's start. A device with a clock of its own places every element there and
    // paces the send thread by that clock: the sound card by the samples it plays, a key line by
    // the monotonic clock. The others (the silent device, the whole-millisecond beep) key in real
    // time, with the durations the engine's step correction gives them. All run on the send
    // thread.

    // A transmission begins; nothing is keyed yet. The moment to prepare the device for `pace`,
    // with `wordSilenceUnits` of silence between two words at the speeds it begins with. The
    // base forgets what the device refused before.
    virtual void BeginTransmission(TransmissionPace pace, std::int64_t wordSilenceUnits);
    // The transmission has ended, also when it was stopped: every output is off, and whatever
    // was keyed has been heard.
    virtual void EndTransmission();
    // A segment begins now.
    virtual void BeginSegment();
    // An element at `startUnits` of the segment, `lengthUnits` long by the model; `keyUnits` is
    // what to key in real time. The base keys Key(keyUnits).
    virtual void KeyOnTimeline(std::int64_t startUnits, std::int32_t lengthUnits,
                               std::int32_t keyUnits);
    // Waits until `endUnits` of the segment by the device's clock; a device that keys ahead of
    // its sound may return well before. False when the device keeps no timeline of its own: the
    // caller then waits in real time.
    virtual bool WaitOnTimeline(std::int64_t endUnits);
    // Waits until the place `units` of the segment is heard, however far ahead the device keys,
    // but not beyond the last moment at which what follows the place reached on the timeline can
    // still be keyed in time. Decisions that take effect at "the next word gap not yet heard" are
    // made then. Returns at once on a device that keys in real time, which is there already.
    virtual void WaitUntilHeard(std::int64_t units);
    // When the place `units` of the segment is heard, on the monotonic clock in nanoseconds; 0 on
    // a device that keys in real time, where it is heard as the send thread gets there.
    virtual std::int64_t HeardAtNanoseconds(std::int64_t units) const;
    // Plays `samples` (a voice at 44.1 kHz) from `startUnits` of the segment on, beside the
    // keying, and returns how many units they last; 0 on a device that cannot play sounds, which
    // is every device but the sound card.
    virtual std::int64_t PlayOnTimeline(std::int64_t startUnits, std::vector<float> samples);

    // Why the device has stopped keying what it is given since the transmission began; a device
    // that keys into nothing says so here, and the engine ends the transmission at once. Send
    // thread. The base fails (kLineRefused) once a switch it was told of was refused.
    virtual OutputFailure Failure() const;

    bool IsOpen() const { return opened; }

protected:
    void SetOpen(bool flag) { opened = flag; }
    CDelayTimer& Timer() { return *timer; }
    // The device's line or tone refused a switch (`error`: an errno value); the first one since
    // the transmission began is its failure.
    void NoteRefusal(int error);

private:
    std::unique_ptr<CDelayTimer> timer;
    bool opened = false;
    int refusal = 0;
};
