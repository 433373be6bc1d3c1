#pragma once

#include <cstdint>

// The learner's own keying heard as it is keyed: a tone that sounds while the line is down, with
// click-free edges, as soon after each edge as the sound card allows. Key and Close on any one
// thread.
class CSidetone {
public:
    virtual ~CSidetone() = default;

    // Opens the sound card at `toneHz` and `volume` (0 to 1); false (and nothing sounds) when it
    // cannot be used.
    virtual bool Open(int toneHz, float volume) = 0;
    // The line went down or up at `at` (the monotonic clock).
    virtual void Key(bool down, std::int64_t at) = 0;
};
