#include "tests/support/CFakeSystemCalls.h"

#include <linux/input.h>
#include <linux/kd.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstring>

#include "output/MonotonicClock.h"

namespace {

std::string RequestName(unsigned long request) {
    switch (request) {
        case KIOCSOUND:
            return "KIOCSOUND";
        case TIOCEXCL:
            return "TIOCEXCL";
        case TIOCNXCL:
            return "TIOCNXCL";
        case TIOCMBIS:
            return "TIOCMBIS";
        case TIOCMBIC:
            return "TIOCMBIC";
        default:
            return "ioctl" + std::to_string(request);
    }
}

}  // namespace

void CFakeSystemCalls::Record(std::string text) {
    calls.push_back({std::move(text), MonotonicNanoseconds()});
}

std::string CFakeSystemCalls::PathOf(int fd) const {
    const auto found = open.find(fd);
    return found == open.end() ? "?" : found->second;
}

int CFakeSystemCalls::Open(const std::string& path, int flags) {
    Record("open " + path + " flags " + std::to_string(flags));
    if (characterDevices.count(path) == 0 && files.count(path) == 0) {
        errno = ENOENT;
        return -1;
    }
    const int fd = nextFd++;
    open[fd] = path;
    return fd;
}

int CFakeSystemCalls::Close(int fd) {
    Record("close " + PathOf(fd));
    open.erase(fd);
    return closesFail ? -1 : 0;
}

int CFakeSystemCalls::IoctlValue(int fd, unsigned long request, unsigned long value) {
    if (request == TIOCMIWAIT) {
        if (modemLinesRead >= modemLines.size()) {
            errno = EIO;
            return -1;
        }
        return 0;
    }
    Record(RequestName(request) + " " + PathOf(fd) + " " + std::to_string(value));
    if (refused.count({PathOf(fd), request}) != 0) {
        errno = ENOTTY;
        return -1;
    }
    return 0;
}

int CFakeSystemCalls::IoctlPointer(int fd, unsigned long request, void* argument) {
    if (request == EVIOCGBIT(EV_SND, sizeof(unsigned long))) {
        Record("EVIOCGBIT " + PathOf(fd));
        const unsigned long bits = toneGenerators.count(PathOf(fd)) != 0 ? 1UL << SND_TONE : 0;
        std::memcpy(argument, &bits, sizeof bits);
        return 0;
    }
    if (request == TIOCMGET) {
        if (modemLinesRead >= modemLines.size()) {
            errno = EIO;
            return -1;
        }
        std::memcpy(argument, &modemLines[modemLinesRead++], sizeof(int));
        return 0;
    }
    int bits = 0;
    std::memcpy(&bits, argument, sizeof bits);
    Record(RequestName(request) + " " + PathOf(fd) + " " + std::to_string(bits));
    if (refused.count({PathOf(fd), request}) != 0) {
        errno = ENOTTY;
        return -1;
    }
    return 0;
}

long CFakeSystemCalls::Write(int fd, const void* data, unsigned long size) {
    input_event event{};
    if (size == sizeof event) {
        std::memcpy(&event, data, sizeof event);
        Record("tone " + PathOf(fd) + " " + std::to_string(event.value));
    } else {
        Record("write " + PathOf(fd));
    }
    return static_cast<long>(size);
}

bool CFakeSystemCalls::Stat(const std::string& path, struct stat& info) {
    info = {};
    if (characterDevices.count(path) != 0) {
        info.st_mode = S_IFCHR | 0660;
        return true;
    }
    if (files.count(path) != 0) {
        info.st_mode = S_IFREG | 0644;
        return true;
    }
    return false;
}

bool CFakeSystemCalls::IsTerminal(int fd) {
    const auto found = characterDevices.find(PathOf(fd));
    return found != characterDevices.end() && found->second;
}

std::vector<std::string> CFakeSystemCalls::ListFolder(const std::string& folder) {
    const auto found = folders.find(folder);
    return found == folders.end() ? std::vector<std::string>{} : found->second;
}

void CFakeSystemCalls::AddCharacterDevice(const std::string& path, bool terminal) {
    characterDevices[path] = terminal;
}

void CFakeSystemCalls::AddFile(const std::string& path) {
    files.insert(path);
}

void CFakeSystemCalls::RefuseIoctl(const std::string& path, unsigned long request) {
    refused.insert({path, request});
}

void CFakeSystemCalls::SetFolder(const std::string& folder, std::vector<std::string> names) {
    folders[folder] = std::move(names);
}

std::string CFakeSystemCalls::ReadText(const std::string& path) {
    const auto found = textFiles.find(path);
    return found == textFiles.end() ? std::string() : found->second;
}

void CFakeSystemCalls::AddPcSpeaker() {
    SetText("/proc/bus/input/devices",
            "I: Bus=0010 Vendor=001f Product=0001 Version=0100\n"
            "N: Name=\"PC Speaker\"\n"
            "H: Handlers=kbd event5 \n"
            "B: PROP=0\n"
            "B: EV=40001\n"
            "B: SND=6\n\n");
}

void CFakeSystemCalls::AddToneGenerator(const std::string& path) {
    toneGenerators.insert(path);
}

std::vector<std::string> CFakeSystemCalls::Calls() const {
    std::vector<std::string> texts;
    for (const Call& call : calls) {
        texts.push_back(call.text);
    }
    return texts;
}

std::set<std::string> CFakeSystemCalls::OpenPaths() const {
    std::set<std::string> paths;
    for (const auto& [fd, path] : open) {
        paths.insert(path);
    }
    return paths;
}
