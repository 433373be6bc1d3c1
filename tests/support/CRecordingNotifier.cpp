#include "tests/support/CRecordingNotifier.h"

void CRecordingNotifier::InvalidCharacterRemoved(char character) {
    Record(std::string("InvalidCharacter:") + character);
}

void CRecordingNotifier::TextTooLong(int limit) {
    Record("TextTooLong:" + std::to_string(limit));
}

void CRecordingNotifier::UnsupportedCharactersRemoved() {
    Record("UnsupportedRemoved");
}

void CRecordingNotifier::WriteFailed(const std::string& path, int error) {
    Record("WriteFailed:" + path + (error != 0 ? ":" + std::to_string(error) : std::string()));
}

void CRecordingNotifier::ReadFailed(const std::string& path, int error) {
    Record("ReadFailed:" + path + ":" + std::to_string(error));
}

void CRecordingNotifier::OutputFailed(OutputFault fault, int error, int outputKind,
                                      const std::string& port) {
    Record("OutputFailed:" + std::to_string(static_cast<int>(fault)) + ":" + std::to_string(error) +
           ":" + std::to_string(outputKind) + ":" + port);
}

void CRecordingNotifier::OutputFallback(int storedKind, const std::string& storedPort, int usedKind,
                                        const std::string&) {
    Record("OutputFallback:" + std::to_string(storedKind) + ":" + storedPort + ":" +
           std::to_string(usedKind));
}

void CRecordingNotifier::RecordsUnreadable(const std::string& path, int error) {
    Record("RecordsUnreadable:" + path + ":" + std::to_string(error));
}

void CRecordingNotifier::SerialPortCloseFailed() {
    Record("SerialCloseFailed");
}

void CRecordingNotifier::NoOutputAvailable() {
    Record("NoOutputAvailable");
}

void CRecordingNotifier::OutputUnusable() {
    Record("OutputUnusable");
}

void CRecordingNotifier::ThreadFailed() {
    Record("ThreadFailed");
}

void CRecordingNotifier::NothingToGenerate() {
    Record("NothingToGenerate");
}

void CRecordingNotifier::NothingToPrint() {
    Record("NothingToPrint");
}

void CRecordingNotifier::NothingToSave() {
    Record("NothingToSave");
}

void CRecordingNotifier::NothingToSaveAsSound() {
    Record("NothingToSaveAsSound");
}

void CRecordingNotifier::SoundTooLong(int minutes) {
    Record("SoundTooLong " + std::to_string(minutes));
}

void CRecordingNotifier::NothingToCheck() {
    Record("NothingToCheck");
}

std::vector<std::string> CRecordingNotifier::Events() const {
    std::lock_guard lock(mutex);
    return events;
}

void CRecordingNotifier::Record(std::string event) {
    std::lock_guard lock(mutex);
    events.push_back(std::move(event));
}
