#include "output/CSerialKeyLines.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <chrono>
#include <utility>

#include "output/CSystemCalls.h"
#include "output/MonotonicClock.h"

namespace {

// The signal that ends a wait for a line change: its handler does nothing, and it is installed
// without SA_RESTART, so that the waiting ioctl returns EINTR.
constexpr int kWakeSignal = SIGUSR2;

void IgnoreWake(int) {}

void InstallWakeHandler() {
    static const bool installed = [] {
        struct sigaction action {};
        action.sa_handler = IgnoreWake;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        return sigaction(kWakeSignal, &action, nullptr) == 0;
    }();
    (void)installed;
}

}  // namespace

CSerialKeyLines::CSerialKeyLines(std::string devicePath, bool swapLines, CSystemCalls& systemCalls)
    : path(std::move(devicePath)), swap(swapLines), calls(systemCalls) {}

CSerialKeyLines::~CSerialKeyLines() {
    Stop();
}

bool CSerialKeyLines::Start(EdgeHandler handler) {
    Stop();
    const int fd = calls.Open(path, O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    if (!calls.IsTerminal(fd)) {
        calls.Close(fd);
        return false;
    }
    port = fd;
    stopping = false;
    readerEnded = false;
    InstallWakeHandler();
    reader = std::thread([this, handler = std::move(handler)] { Run(handler); });
    return true;
}

void CSerialKeyLines::Stop() {
    if (reader.joinable()) {
        stopping = true;
        // The wait may begin just after a signal: it is sent until the thread has ended.
        while (pthread_kill(reader.native_handle(), kWakeSignal) == 0 && !readerEnded) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        reader.join();
    }
    if (port >= 0) {
        calls.Close(port);
        port = -1;
    }
}

void CSerialKeyLines::Run(EdgeHandler handler) {
    const int dotLine = swap ? TIOCM_DSR : TIOCM_CTS;
    const int dashLine = swap ? TIOCM_CTS : TIOCM_DSR;
    int lines = 0;
    calls.IoctlPointer(port, TIOCMGET, &lines);
    while (!stopping) {
        if (calls.IoctlValue(port, TIOCMIWAIT, static_cast<unsigned long>(TIOCM_CTS | TIOCM_DSR)) !=
            0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        const std::int64_t at = MonotonicNanoseconds();
        int now = 0;
        if (calls.IoctlPointer(port, TIOCMGET, &now) != 0 || stopping) {
            break;
        }
        for (const auto& [line, lever] :
             {std::pair{dotLine, Paddle::kDot}, std::pair{dashLine, Paddle::kDash}}) {
            if ((now & line) != (lines & line)) {
                handler(lever, (now & line) != 0, at);
            }
        }
        lines = now;
    }
    readerEnded = true;
}
