#include "print/CPrintCollection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CPrintCollection::CPrintCollection(std::string path) : file(std::move(path)) {}

int CPrintCollection::Records() const {
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return 0;
    }
    return static_cast<int>(info.st_size / kRecordSize);
}

std::string CPrintCollection::ReadRecord() {
    const std::int64_t position = readPosition;
    readPosition += kRecordSize;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    char buffer[kLineLength] = {};
    const ssize_t got = pread(fd, buffer, sizeof buffer, static_cast<off_t>(position));
    close(fd);
    if (got != kLineLength) {
        return {};
    }
    std::string record(buffer, static_cast<std::size_t>(kLineLength));
    const std::size_t zero = record.find('\0');
    if (zero != std::string::npos) {
        record.resize(zero);
    }
    return record;
}
