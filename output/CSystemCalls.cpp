#include "output/CSystemCalls.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

CSystemCalls::~CSystemCalls() = default;

int CPosixSystemCalls::Open(const std::string& path, int flags) {
    return open(path.c_str(), flags | O_CLOEXEC);
}

int CPosixSystemCalls::Close(int fd) {
    return close(fd);
}

int CPosixSystemCalls::IoctlValue(int fd, unsigned long request, unsigned long value) {
    return ioctl(fd, request, value);
}

int CPosixSystemCalls::IoctlPointer(int fd, unsigned long request, void* argument) {
    return ioctl(fd, request, argument);
}

long CPosixSystemCalls::Write(int fd, const void* data, unsigned long size) {
    return write(fd, data, size);
}

bool CPosixSystemCalls::Stat(const std::string& path, struct stat& info) {
    return stat(path.c_str(), &info) == 0;
}

bool CPosixSystemCalls::IsTerminal(int fd) {
    return isatty(fd) == 1;
}

std::vector<std::string> CPosixSystemCalls::ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* directory = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(directory)) {
            names.emplace_back(entry->d_name);
        }
        closedir(directory);
    }
    return names;
}

std::string CPosixSystemCalls::ReadText(const std::string& path) {
    constexpr std::size_t kLimit = 1024 * 1024;
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return text;
    }
    char buffer[4096];
    while (text.size() < kLimit) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return text;
}

CPosixSystemCalls& CPosixSystemCalls::Instance() {
    static CPosixSystemCalls calls;
    return calls;
}
