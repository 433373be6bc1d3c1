#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "core/CKeyLineSource.h"

class CSystemCalls;

// The classic serial key interface: the key (or the dot lever) closes CTS, the dash lever DSR, or
// the other way round. A thread of its own waits in the kernel for a change of either line
// (TIOCMIWAIT), reads both (TIOCMGET), stamps the moment and reports each lever that changed; a
// line that is asserted is a lever held down. Stop wakes the wait with a signal.
class CSerialKeyLines : public CKeyLineSource {
public:
    CSerialKeyLines(std::string devicePath, bool swapLines, CSystemCalls& calls);
    ~CSerialKeyLines() override;
    CSerialKeyLines(const CSerialKeyLines&) = delete;
    CSerialKeyLines& operator=(const CSerialKeyLines&) = delete;

    bool Start(EdgeHandler handler) override;
    void Stop() override;
    // The port stopped answering (unplugged, say) while it was read.
    bool Lost() const { return readerEnded && !stopping; }

private:
    void Run(EdgeHandler handler);

    std::string path;
    bool swap;
    CSystemCalls& calls;
    int port = -1;
    std::atomic<bool> stopping{false};
    std::atomic<bool> readerEnded{false};
    std::thread reader;
};
