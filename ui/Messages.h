#pragma once

#include <QString>

// The texts of the program's messages, exactly as the user sees them.
namespace messages {

inline const QString kCaption = QStringLiteral("Brumlo");
inline const QString kOutputCaption = QStringLiteral("Chyba výstupu");

QString InvalidCharacter(const QString& character);
QString TextTooLong(int limit);
QString UnsupportedRemoved();
QString WriteFailed(const QString& path);
QString SerialCloseFailed();
QString NoOutput();
QString ThreadFailed();
QString NothingToGenerate();
QString NothingToCheck();
QString NextLesson(int lesson);
QString NothingToSaveAsSound();
QString NothingToPrint();
QString NothingToSave();
QString OutputUnusable();
QString HelpFailed();

}  // namespace messages
