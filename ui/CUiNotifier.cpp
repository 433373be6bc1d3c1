#include "ui/CUiNotifier.h"

#include <QMetaObject>
#include <QString>
#include <QWidget>

#include "print/Cp1250.h"
#include "ui/CMessageBoxes.h"
#include "ui/Messages.h"

CUiNotifier::CUiNotifier(CMessageBoxes& boxes, QWidget* owner)
    : messageBoxes(boxes), window(owner) {}

void CUiNotifier::InvalidCharacterRemoved(char character) {
    // Warnings about typed characters have no owner window, as the edit may be in any dialog.
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::InvalidCharacter(FromCp1250(character)), nullptr);
}

void CUiNotifier::TextTooLong(int limit) {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::TextTooLong(limit), nullptr);
}

void CUiNotifier::UnsupportedCharactersRemoved() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::UnsupportedRemoved(), nullptr);
}

void CUiNotifier::WriteFailed(const std::string& path, int error) {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption,
                      messages::WriteFailed(QString::fromStdString(path), error), window);
}

void CUiNotifier::ReadFailed(const std::string& path, int error) {
    ShowLater(CMessageBoxes::Icon::Warning, messages::kCaption,
              [path, error] { return messages::ReadFailed(QString::fromStdString(path), error); });
}

void CUiNotifier::OutputFailed(OutputFault fault, int error, int outputKind,
                               const std::string& port) {
    ShowLater(
        CMessageBoxes::Icon::Error, messages::OutputCaption(), [fault, error, outputKind, port] {
            return messages::OutputFailed(fault, error, outputKind, QString::fromStdString(port));
        });
}

void CUiNotifier::OutputFallback(int storedKind, const std::string& storedPort, int usedKind,
                                 const std::string& usedPort) {
    ShowLater(CMessageBoxes::Icon::Warning, messages::kCaption,
              [storedKind, storedPort, usedKind, usedPort] {
                  return messages::OutputFallback(storedKind, QString::fromStdString(storedPort),
                                                  usedKind, QString::fromStdString(usedPort));
              });
}

void CUiNotifier::RecordsUnreadable(const std::string& path, int error) {
    ShowLater(CMessageBoxes::Icon::Warning, messages::kCaption, [path, error] {
        return messages::RecordsUnreadable(QString::fromStdString(path), error);
    });
}

void CUiNotifier::ShowLater(CMessageBoxes::Icon icon, const QString& caption,
                            std::function<QString()> text) {
    // Once the window shows what happened (a transmission's end), and at start once the window
    // speaks the language of its captions, which the settings choose after these are found.
    auto show = [this, icon, caption, text = std::move(text)] {
        messageBoxes.Show(icon, caption, text(), window);
    };
    if (window == nullptr) {
        show();
        return;
    }
    QMetaObject::invokeMethod(window, std::move(show), Qt::QueuedConnection);
}

void CUiNotifier::SerialPortCloseFailed() {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::SerialCloseFailed(),
                      nullptr);
}

void CUiNotifier::NoOutputAvailable() {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::NoOutput(), window);
}

void CUiNotifier::OutputUnusable() {
    // The output dialog is the active window when this is said.
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::OutputCaption(),
                      messages::OutputUnusable(), nullptr);
}

void CUiNotifier::ThreadFailed() {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::ThreadFailed(),
                      window);
}

void CUiNotifier::NothingToGenerate() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::NothingToGenerate(), window);
}

void CUiNotifier::NothingToPrint() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption, messages::NothingToPrint(),
                      window);
}

void CUiNotifier::NothingToSave() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption, messages::NothingToSave(),
                      window);
}

void CUiNotifier::NothingToSaveAsSound() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::NothingToSaveAsSound(), window);
}

void CUiNotifier::SoundTooLong(int minutes) {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                      messages::SoundTooLong(minutes), window);
}

void CUiNotifier::NothingToCheck() {
    messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption, messages::NothingToCheck(),
                      window);
}
