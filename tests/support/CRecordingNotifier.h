#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "core/CNotifier.h"

// Records every notification in order, as "Kind:data" strings, so that a test can compare the
// whole sequence at once. Thread-safe.
class CRecordingNotifier : public CNotifier {
public:
    void InvalidCharacterRemoved(char character) override;
    void TextTooLong(int limit) override;
    void UnsupportedCharactersRemoved() override;
    // "WriteFailed:path", with ":" and the errno value after it when the system gave one.
    void WriteFailed(const std::string& path, int error) override;
    // "ReadFailed:path:error".
    void ReadFailed(const std::string& path, int error) override;
    // "RecordsUnreadable:path:error".
    void RecordsUnreadable(const std::string& path, int error) override;
    void SerialPortCloseFailed() override;
    void NoOutputAvailable() override;
    void OutputUnusable() override;
    // "OutputFailed:fault:error:kind:port", the fault as its number.
    void OutputFailed(OutputFault fault, int error, int outputKind,
                      const std::string& port) override;
    // "OutputFallback:storedKind:storedPort:usedKind".
    void OutputFallback(int storedKind, const std::string& storedPort, int usedKind,
                        const std::string& usedPort) override;
    void ThreadFailed() override;
    void NothingToGenerate() override;
    void NothingToPrint() override;
    void NothingToSave() override;
    void NothingToSaveAsSound() override;
    void SoundTooLong(int minutes) override;
    void NothingToCheck() override;

    std::vector<std::string> Events() const;

private:
    void Record(std::string event);

    mutable std::mutex mutex;
    std::vector<std::string> events;
};
