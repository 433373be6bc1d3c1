#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

// The system calls of the speaker and serial devices, behind an interface so that tests can
// record them without hardware. Used by one device at a time on the thread that drives it.
class CSystemCalls {
public:
    virtual ~CSystemCalls();

    virtual int Open(const std::string& path, int flags) = 0;
    virtual int Close(int fd) = 0;
    // ioctl with an integer argument passed by value (KIOCSOUND, TIOCEXCL).
    virtual int IoctlValue(int fd, unsigned long request, unsigned long value) = 0;
    // ioctl with a pointer to an int (TIOCMBIS, TIOCMBIC) or to a buffer (EVIOCGBIT).
    virtual int IoctlPointer(int fd, unsigned long request, void* argument) = 0;
    virtual long Write(int fd, const void* data, unsigned long size) = 0;
    // stat() of a path (following links); false when it does not exist.
    virtual bool Stat(const std::string& path, struct stat& info) = 0;
    virtual bool IsTerminal(int fd) = 0;
    // The names in a folder, unsorted; empty when it cannot be read.
    virtual std::vector<std::string> ListFolder(const std::string& folder) = 0;
    // The text of a small file (such as one under /proc), at most 1 MiB; empty when unreadable.
    virtual std::string ReadText(const std::string& path) = 0;
};

// The real calls.
class CPosixSystemCalls : public CSystemCalls {
public:
    int Open(const std::string& path, int flags) override;
    int Close(int fd) override;
    int IoctlValue(int fd, unsigned long request, unsigned long value) override;
    int IoctlPointer(int fd, unsigned long request, void* argument) override;
    long Write(int fd, const void* data, unsigned long size) override;
    bool Stat(const std::string& path, struct stat& info) override;
    bool IsTerminal(int fd) override;
    std::vector<std::string> ListFolder(const std::string& folder) override;
    std::string ReadText(const std::string& path) override;

    // The one instance the program uses.
    static CPosixSystemCalls& Instance();
};
