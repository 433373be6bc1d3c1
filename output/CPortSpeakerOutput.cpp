#include "output/CPortSpeakerOutput.h"

#include <fcntl.h>
#include <linux/kd.h>

#include "output/CSystemCalls.h"

namespace {

constexpr const char* kConsoles[] = {"/dev/console", "/dev/tty0"};

}  // namespace

CPortSpeakerOutput::CPortSpeakerOutput(CSystemCalls& systemCalls) : calls(systemCalls) {
    for (const char* path : kConsoles) {
        const int fd = calls.Open(path, O_WRONLY | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            continue;
        }
        // Switching the tone off proves that this console drives the speaker.
        if (calls.IoctlValue(fd, KIOCSOUND, 0) == 0) {
            console = fd;
            break;
        }
        calls.Close(fd);
    }
    SetOpen(console >= 0);
    SetTone(450);
}

CPortSpeakerOutput::~CPortSpeakerOutput() {
    if (console >= 0) {
        calls.IoctlValue(console, KIOCSOUND, 0);
        calls.Close(console);
    }
}

void CPortSpeakerOutput::SetTone(std::int32_t hz) {
    frequency = hz;
    divisor = hz > 0 ? kTimerClock / static_cast<unsigned>(hz) : 0;
}

void CPortSpeakerOutput::Key(std::int32_t durationUnits) {
    if (console >= 0 && divisor > 0) {
        calls.IoctlValue(console, KIOCSOUND, divisor);
    }
    Timer().Wait(durationUnits);
    if (console >= 0) {
        calls.IoctlValue(console, KIOCSOUND, 0);
    }
}
