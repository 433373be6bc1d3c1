#pragma once

#include <cstdint>
#include <functional>

#include "core/KeyingSettings.h"

// Where the learner's key is read from, as edges of its levers (a straight key is the dot lever),
// each stamped with the monotonic clock where it arrived. Behind an interface, so that tests and
// benchmarks inject edges.
class CKeyLineSource {
public:
    using EdgeHandler = std::function<void(Paddle lever, bool down, std::int64_t at)>;
    virtual ~CKeyLineSource() = default;
    // Starts reading; `handler` is called on the source's own thread. False when the source cannot
    // be read (the port does not open, or is no terminal).
    virtual bool Start(EdgeHandler handler) = 0;
    // Stops reading; no handler call follows. Any thread but the handler's.
    virtual void Stop() = 0;
};
