#pragma once

#include <QString>
#include <functional>

#include "core/CNotifier.h"
#include "ui/CMessageBoxes.h"

class QWidget;

// Turns the notifications of the lower layers into the program's message boxes. Called on the
// user-interface thread.
class CUiNotifier : public CNotifier {
public:
    CUiNotifier(CMessageBoxes& boxes, QWidget* owner);

    void InvalidCharacterRemoved(char character) override;
    void TextTooLong(int limit) override;
    void UnsupportedCharactersRemoved() override;
    void WriteFailed(const std::string& path, int error) override;
    void ReadFailed(const std::string& path, int error) override;
    void RecordsUnreadable(const std::string& path, int error) override;
    void SerialPortCloseFailed() override;
    void NoOutputAvailable() override;
    void OutputUnusable() override;
    void OutputFailed(OutputFault fault, int error, int outputKind,
                      const std::string& port) override;
    void OutputFallback(int storedKind, const std::string& storedPort, int usedKind,
                        const std::string& usedPort) override;
    void ThreadFailed() override;
    void NothingToGenerate() override;
    void NothingToPrint() override;
    void NothingToSave() override;
    void NothingToSaveAsSound() override;
    void SoundTooLong(int minutes) override;
    void NothingToCheck() override;

private:
    // Shows a box once the user-interface thread is back in its event loop, its text made then.
    void ShowLater(CMessageBoxes::Icon icon, const QString& caption, std::function<QString()> text);

    CMessageBoxes& messageBoxes;
    QWidget* window;
};
