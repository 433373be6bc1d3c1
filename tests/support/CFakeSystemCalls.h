#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "output/CSystemCalls.h"

// A machine without hardware: paths that exist as character devices or files, which of them are
// terminals, which ioctls a descriptor refuses, and folder contents. Every call is recorded as a
// line of text, with the monotonic time of the ioctls.
class CFakeSystemCalls : public CSystemCalls {
public:
    struct Call {
        std::string text;
        std::int64_t at;
    };

    int Open(const std::string& path, int flags) override;
    int Close(int fd) override;
    int IoctlValue(int fd, unsigned long request, unsigned long value) override;
    int IoctlPointer(int fd, unsigned long request, void* argument) override;
    long Write(int fd, const void* data, unsigned long size) override;
    bool Stat(const std::string& path, struct stat& info) override;
    bool IsTerminal(int fd) override;
    std::vector<std::string> ListFolder(const std::string& folder) override;
    std::string ReadText(const std::string& path) override;

    // Setup.
    void AddCharacterDevice(const std::string& path, bool terminal);
    void AddFile(const std::string& path);
    void RefuseIoctl(const std::string& path, unsigned long request);
    void SetFolder(const std::string& folder, std::vector<std::string> names);
    // EVIOCGBIT(EV_SND) of this path reports a tone generator.
    void AddToneGenerator(const std::string& path);
    void FailCloses() { closesFail = true; }
    // A text file that ReadText returns (and Open does not see).
    void SetText(const std::string& path, std::string text) { textFiles[path] = std::move(text); }
    // The kernel's input device list names a PC speaker.
    void AddPcSpeaker();
    // The modem lines TIOCMGET reads, one state a call; TIOCMIWAIT returns at once while states
    // are left, and fails with EIO after the last (the port is gone).
    void ScriptModemLines(std::vector<int> states) { modemLines = std::move(states); }

    std::vector<std::string> Calls() const;
    const std::vector<Call>& TimedCalls() const { return calls; }
    std::set<std::string> OpenPaths() const;

private:
    void Record(std::string text);
    std::string PathOf(int fd) const;

    std::map<std::string, bool> characterDevices;  // path -> is a terminal
    std::set<std::string> files;
    std::set<std::pair<std::string, unsigned long>> refused;
    std::set<std::string> toneGenerators;
    std::map<std::string, std::vector<std::string>> folders;
    std::map<std::string, std::string> textFiles;
    std::map<int, std::string> open;
    int nextFd = 10;
    bool closesFail = false;
    std::vector<Call> calls;
    std::vector<int> modemLines;
    std::size_t modemLinesRead = 0;
};
