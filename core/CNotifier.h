#pragma once

#include <string>

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
    // A file could not be created or written.
    virtual void WriteFailed(const std::string& path) = 0;
    // Closing the serial port failed.
    virtual void SerialPortCloseFailed() = 0;
};

// Swallows every notification; for callers that have nobody to tell.
class CSilentNotifier : public CNotifier {
public:
    void InvalidCharacterRemoved(char) override {}
    void TextTooLong(int) override {}
    void UnsupportedCharactersRemoved() override {}
    void WriteFailed(const std::string&) override {}
    void SerialPortCloseFailed() override {}
};
