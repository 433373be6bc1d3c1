#pragma once

#include <string>

#include "core/OutputKind.h"

// Receives the user-facing warnings and errors of the layers below the user interface, one call
// per situation with its data. The user interface shows each as a message box; tests record them.
// Implementations must not assume a particular calling thread.
class CNotifier {
public:
    virtual ~CNotifier();

    // A typed or pasted character without a Morse code is about to be removed from an edit.
    virtual void InvalidCharacterRemoved(char character) = 0;
    // Text read from a file was longer than `limit` characters and has been cut.
    virtual void TextTooLong(int limit) = 0;
    // Characters without a Morse code were dropped from text read from a file.
    virtual void UnsupportedCharactersRemoved() = 0;
    // A file could not be created or written; `error` is the system's reason (an errno value),
    // 0 when the failure was not the system's.
    virtual void WriteFailed(const std::string& path, int error) = 0;
    // A file that is there could not be read (`error`: an errno value); the program works on
    // defaults and leaves the file as it is until the user changes what it holds.
    virtual void ReadFailed(const std::string& path, int error) = 0;
    // A file of records that is there could not be read (`error`: an errno value); what is in
    // it is missing from the statistics, and new records are still added to it.
    virtual void RecordsUnreadable(const std::string& path, int error) = 0;
    // Closing the serial port failed.
    virtual void SerialPortCloseFailed() = 0;
    // No output at all can be used; the program ends.
    virtual void NoOutputAvailable() = 0;
    // The output the user chose cannot be used; the previous one is back.
    virtual void OutputUnusable() = 0;
    // The output of kind `outputKind` (on `port` for a serial port) stopped keying during a
    // transmission, which has been stopped; `error` is the system's reason where there is one.
    virtual void OutputFailed(OutputFault fault, int error, int outputKind,
                              const std::string& port) = 0;
    // The output the settings named could not be opened at start; another one is in use, and
    // the stored one stays stored.
    virtual void OutputFallback(int storedKind, const std::string& storedPort, int usedKind,
                                const std::string& usedPort) = 0;
    // A transmission could not start its threads.
    virtual void ThreadFailed() = 0;
    // The character set of the chosen kind leaves nothing to draw; the text stays.
    virtual void NothingToGenerate() = 0;
    // There is no text to add to the print collection.
    virtual void NothingToPrint() = 0;
    // There is no text to save.
    virtual void NothingToSave() = 0;
    // There is no text to save as sound.
    virtual void NothingToSaveAsSound() = 0;
    // A sound file would last longer than `minutes` and was not made.
    virtual void SoundTooLong(int minutes) = 0;
    // Nothing has been sent or shown that a copy could be checked against.
    virtual void NothingToCheck() = 0;
};

// Swallows every notification; for callers that have nobody to tell.
class CSilentNotifier : public CNotifier {
public:
    void InvalidCharacterRemoved(char) override {}
    void TextTooLong(int) override {}
    void UnsupportedCharactersRemoved() override {}
    void WriteFailed(const std::string&, int) override {}
    void ReadFailed(const std::string&, int) override {}
    void RecordsUnreadable(const std::string&, int) override {}
    void SerialPortCloseFailed() override {}
    void NoOutputAvailable() override {}
    void OutputUnusable() override {}
    void OutputFailed(OutputFault, int, int, const std::string&) override {}
    void OutputFallback(int, const std::string&, int, const std::string&) override {}
    void ThreadFailed() override {}
    void NothingToGenerate() override {}
    void NothingToPrint() override {}
    void NothingToSave() override {}
    void NothingToSaveAsSound() override {}
    void SoundTooLong(int) override {}
    void NothingToCheck() override {}
};
