#include "output/CSerialPortOutput.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <cerrno>

#include "core/CNotifier.h"
#include "output/CSystemCalls.h"
#include "output/SerialPorts.h"

CSerialPortOutput::CSerialPortOutput(const std::string& portName, CSystemCalls& systemCalls,
                                     CNotifier& closeNotifier)
    : calls(systemCalls), notifier(closeNotifier), name(portName) {
    const std::optional<std::string> path = SerialDevicePath(portName);
    struct stat info {};
    // Only a character device is opened at all; after opening it must also be a terminal.
    if (path && calls.Stat(*path, info) && S_ISCHR(info.st_mode)) {
        const int fd = calls.Open(*path, O_WRONLY | O_NOCTTY | O_NONBLOCK);
        if (fd >= 0 && calls.IsTerminal(fd) && calls.IoctlValue(fd, TIOCEXCL, 0) == 0) {
            port = fd;
            SetDtr(false);
        } else if (fd >= 0) {
            calls.Close(fd);
        }
    }
    SetOpen(port >= 0);
}

CSerialPortOutput::~CSerialPortOutput() {
    if (port >= 0) {
        SetDtr(false);
        calls.IoctlValue(port, TIOCNXCL, 0);
        if (calls.Close(port) != 0) {
            notifier.SerialPortCloseFailed();
        }
    }
}

int CSerialPortOutput::SetDtr(bool high) {
    int bits = TIOCM_DTR;
    errno = 0;
    if (calls.IoctlPointer(port, high ? TIOCMBIS : TIOCMBIC, &bits) == 0) {
        return 0;
    }
    return errno != 0 ? errno : EIO;
}

int CSerialPortOutput::SetLine(bool on) {
    return port >= 0 ? SetDtr(on) : 0;
}

void CSerialPortOutput::SetTone(std::int32_t) {}
