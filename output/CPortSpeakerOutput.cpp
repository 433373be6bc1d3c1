#include "output/CPortSpeakerOutput.h"

#include <fcntl.h>
#include <linux/input.h>
#include <linux/kd.h>

#include <cctype>
#include <cerrno>
#include <string>

#include "output/CSystemCalls.h"

namespace {

constexpr const char* kConsoles[] = {"/dev/console", "/dev/tty0"};

}  // namespace

bool CPortSpeakerOutput::MachineHasSpeaker(CSystemCalls& calls) {
    // Each device's block has a line "B: SND=<hex mask>" when it makes sounds; bit SND_TONE
    // says it can sound a tone of any pitch.
    const std::string list = calls.ReadText("/proc/bus/input/devices");
    const std::string key = "B: SND=";
    for (std::size_t at = list.find(key); at != std::string::npos; at = list.find(key, at + 1)) {
        if (at != 0 && list[at - 1] != '\n') {
            continue;
        }
        const std::size_t end = list.find('\n', at);
        const std::string mask = list.substr(
            at + key.size(), end == std::string::npos ? std::string::npos : end - at - key.size());
        // The mask is one hexadecimal word; the tone bit is in its lowest digit.
        if (!mask.empty() && std::isxdigit(static_cast<unsigned char>(mask.back())) != 0) {
            const int lowest = std::stoi(mask.substr(mask.size() - 1), nullptr, 16);
            if ((lowest & (1 << SND_TONE)) != 0) {
                return true;
            }
        }
    }
    return false;
}

CPortSpeakerOutput::CPortSpeakerOutput(CSystemCalls& systemCalls) : calls(systemCalls) {
    SetTone(450);
    if (!MachineHasSpeaker(calls)) {
        return;
    }
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
}

CPortSpeakerOutput::~CPortSpeakerOutput() {
    if (console >= 0) {
        calls.IoctlValue(console, KIOCSOUND, 0);
        calls.Close(console);
    }
}

void CPortSpeakerOutput::SetTone(std::int32_t hz) {
    divisor = hz > 0 ? kTimerClock / static_cast<unsigned>(hz) : 0;
}

int CPortSpeakerOutput::SetLine(bool on) {
    if (console < 0 || (divisor == 0 && on)) {
        return 0;
    }
    errno = 0;
    if (calls.IoctlValue(console, KIOCSOUND, on ? divisor : 0) == 0) {
        return 0;
    }
    return errno != 0 ? errno : EIO;
}
