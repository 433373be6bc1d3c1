#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "engine/CTimeSource.h"
#include "output/COutputDevice.h"

// Virtual time in 100-ns units shared by CFakeTimeSource and CRecordingDevice. Every Key, Wait
// and SetTone is recorded in order; a Key or Wait advances the time by its duration, plus any
// extra programmed for that call, so that transmissions run at full speed with exact figures.
// Thread-safe.
class CVirtualTime {
public:
    struct Event {
        char kind;  // 'K' key, 'W' wait, 'T' tone
        std::int64_t value;
        bool operator==(const Event&) const = default;
        friend void PrintTo(const Event& event, std::ostream* out) {
            *out << event.kind << event.value;
        }
    };

    std::int64_t Now() const;
    // Records a Key or Wait of `units` and advances the time; returns the call's index.
    void Step(char kind, std::int32_t units);
    void Record(char kind, std::int64_t value);
    std::vector<Event> Events() const;
    void Clear();
    // The Key or Wait call with this index (counting both from 0) takes `extraUnits` longer.
    void AddExtra(std::size_t callIndex, std::int64_t extraUnits);
    // Called before every Key and Wait, without the lock, with the index of the call.
    void SetHook(std::function<void(std::size_t)> newHook);

private:
    mutable std::mutex mutex;
    std::int64_t now = 0;
    std::size_t calls = 0;
    std::vector<Event> events;
    std::map<std::size_t, std::int64_t> extras;
    std::function<void(std::size_t)> hook;
};

class CFakeTimeSource : public CTimeSource {
public:
    explicit CFakeTimeSource(CVirtualTime& sharedTime) : virtualTime(sharedTime) {}
    std::int64_t Now() override { return virtualTime.Now(); }
    std::int64_t Frequency() const override { return 10000000; }
    void Wait(std::int32_t durationUnits) override { virtualTime.Step('W', durationUnits); }

private:
    CVirtualTime& virtualTime;
};

class CRecordingDevice : public COutputDevice {
public:
    explicit CRecordingDevice(CVirtualTime& sharedTime) : virtualTime(sharedTime) { SetOpen(true); }
    void Key(std::int32_t durationUnits) override {
        keyedTone = tone;
        virtualTime.Step('K', durationUnits);
    }
    void SetTone(std::int32_t hz) override {
        tone = hz;
        virtualTime.Record('T', hz);
    }
    void SetVolume(std::uint32_t newVolume) override { volume = newVolume; }
    std::uint32_t Volume() const { return volume; }
    // The tone of the last Key.
    std::int32_t KeyedTone() const { return keyedTone; }

private:
    CVirtualTime& virtualTime;
    // Plain fields, as a real device keeps them: the recording's lock must not hide a tone
    // change that races with Key from the thread sanitizer.
    std::int32_t tone = 0;
    std::int32_t keyedTone = 0;
    std::uint32_t volume = 0xFFFFFFFFU;
};

// A device whose output stops working at its key number `working` + 1, as a serial line that
// goes away does: that key is refused, and the device says so from then on.
class CFailingDevice : public CRecordingDevice {
public:
    CFailingDevice(CVirtualTime& time, int working) : CRecordingDevice(time), left(working) {}
    void Key(std::int32_t units) override {
        CRecordingDevice::Key(units);
        --left;
    }
    OutputFailure Failure() const override {
        return left < 0 ? OutputFailure{OutputFault::kLineRefused, EIO} : OutputFailure{};
    }

private:
    int left;
};

// Readable form of an event list for failure messages, e.g. "T450 K1800000 W600000".
std::string Describe(const std::vector<CVirtualTime::Event>& events);
