#pragma once

#include <QString>
#include <QStringList>

#include "core/OutputKind.h"

// The texts of the program's messages, questions and their buttons, and the file dialogs' filters,
// exactly as the user sees them: built in Czech, replaced line by line by the language file
// "localMS" while the language set is in force (a text the file lacks keeps its built-in form; a
// backslash and "n" in a line stand for a line break). Numbers are written in the language's form.
// User-interface thread only.
namespace messages {

inline const QString kCaption = QStringLiteral("Brumlo");

// The message table of `languageFile` ("localMS"), or the built-in one for an empty path.
void UseLanguageFile(const QString& languageFile);
// The toolkit's own texts (the file and print dialogs, the buttons of message boxes) in Czech
// with the built-in captions, in English with a language file.
void UseToolkitCzech(bool czech);
// The built-in texts, in the order of "localMS".
QStringList CzechTexts();
// The texts in force, in the same order.
QStringList Texts();

QString OutputCaption();
QString InvalidCharacter(const QString& character);
QString TextTooLong(int limit);
QString UnsupportedRemoved();
// The path, and the system's reason when `error` (an errno value) is not 0.
QString WriteFailed(const QString& path, int error);
// A file that is there could not be read: which, why, and that it is left as it is.
QString ReadFailed(const QString& path, int error);
QString RecordsUnreadable(const QString& path, int error);
// The output stopped keying (its kind and port name it), with the system's reason for a line.
QString OutputFailed(OutputFault fault, int error, int kind, const QString& port);
// The stored output could not be opened at start and another one stands in for it.
QString OutputFallback(int storedKind, const QString& storedPort, int usedKind,
                       const QString& usedPort);
QString SerialCloseFailed();
QString NoOutput();
QString ThreadFailed();
QString NothingToGenerate();
QString NothingToCheck();
QString NextLesson(int lesson);
QString NothingToSaveAsSound();
QString SoundTooLong(int minutes);
QString NothingToPrint();
QString NothingToSave();
QString OutputUnusable();
QString HelpFailed();
// The copy is to be checked against a text that has not been sent since it changed.
QString UnsentText();
// A character typed in the copy that has no code, said in the copy-check dialog's status line.
QString RefusedCharacter(const QString& character);
// The buttons of a question.
QString Yes();
QString No();
// File-dialog filters.
QString TextFilesFilter();
QString AllFilesFilter();
QString SoundFilesFilter();
// `value` with `decimals` places after the language's decimal sign ("84,6" or "84.6").
QString Number(double value, int decimals);
// The language's decimal sign ("," or ".").
QString DecimalSign();

}  // namespace messages
