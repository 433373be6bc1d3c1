#pragma once

#include <cstdint>
#include <vector>

// Plays short sounds on the sound card outside a transmission (one character to recognise, a
// callsign, the quiet tone of a wrong answer) and tells when the last sample of the last sound
// was heard, on the monotonic clock, so that a reaction time is measured from the sound itself
// and not from the moment it was queued. Called on the user-interface thread.
class CCuePlayer {
public:
    static constexpr double kSampleRate = 44100.0;

    virtual ~CCuePlayer() = default;

    // Opens the sound card; false (and nothing plays) when it cannot be used.
    virtual bool Open() = 0;
    // Queues mono samples at kSampleRate to follow what is still playing; false when the sound
    // is refused (not open, or more than the player holds).
    virtual bool Play(const std::vector<float>& samples) = 0;
    // Drops what has not been played yet.
    virtual void Silence() = 0;
    // When the last sample of the last sound queued is (or was) heard, in nanoseconds on the
    // monotonic clock; 0 while the player cannot tell yet (nothing played, or its clock not yet
    // mapped to the stream).
    virtual std::int64_t HeardEndNanoseconds() const = 0;
};
