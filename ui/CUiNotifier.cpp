#include "ui/CUiNotifier.h"

#include <QString>

#include "ui/CMessageBoxes.h"
#include "ui/Cp1250.h"
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

void CUiNotifier::WriteFailed(const std::string& path) {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption,
                      messages::WriteFailed(QString::fromStdString(path)), window);
}

void CUiNotifier::SerialPortCloseFailed() {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::SerialCloseFailed(),
                      nullptr);
}
