// DTR timing of the serial output on a pseudo-terminal: how long DTR stays high against the Key
// duration. The ioctls go to the real pseudo-terminal; where it refuses the modem-line ioctls, the
// edge times are still those of the calls made, with the device's real waits between them.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "bench/Statistics.h"
#include "core/CNotifier.h"
#include "output/CSerialPortOutput.h"
#include "output/CSystemCalls.h"
#include "output/MonotonicClock.h"

namespace {

// The real calls, noting the time of every DTR edge and whether the terminal accepted it.
class CEdgeTimingCalls : public CPosixSystemCalls {
public:
    int IoctlPointer(int fd, unsigned long request, void* argument) override {
        const std::int64_t at = MonotonicNanoseconds();
        const int result = CPosixSystemCalls::IoctlPointer(fd, request, argument);
        if (request == TIOCMBIS) {
            raised = at;
        } else if (request == TIOCMBIC && raised != 0) {
            highTimes.push_back(at - raised);
            raised = 0;
        }
        refused += result != 0 ? 1 : 0;
        return result;
    }
    std::vector<std::int64_t> highTimes;
    std::int64_t raised = 0;
    int refused = 0;
};

}  // namespace

int main(int argc, char** argv) {
    const int keys = argc > 1 ? std::atoi(argv[1]) : 200;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::printf("no pseudo-terminal\n");
        return 1;
    }
    CEdgeTimingCalls calls;
    CSilentNotifier notifier;
    CSerialPortOutput port(ptsname(master), calls, notifier);
    std::printf("port %s opened %d\n", port.PortName().c_str(), port.IsOpen() ? 1 : 0);
    for (const int milliseconds : {30, 60, 120}) {
        calls.highTimes.clear();
        for (int i = 0; i < keys; ++i) {
            port.Key(milliseconds * 10000);
            usleep(5000);
        }
        std::vector<double> deviation;
        for (const std::int64_t high : calls.highTimes) {
            deviation.push_back(static_cast<double>(high - milliseconds * 1000000LL) / 1000.0);
        }
        PrintSummary("DTR high " + std::to_string(milliseconds) + " ms", Summarize(deviation),
                     "us");
    }
    std::printf("modem-line ioctls refused by the pseudo-terminal: %d\n", calls.refused);
    close(master);
    return 0;
}
