#include "ui/Messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>

#include "ui/LanguageCaptions.h"

namespace messages {

namespace {

enum Text {
    kOutputCaption,
    kInvalidCharacter,
    kTextTooLong,
    kUnsupportedRemoved,
    kWriteFailed,
    kSerialCloseFailed,
    kNoOutput,
    kThreadFailed,
    kNothingToGenerate,
    kNothingToCheck,
    kNextLesson,
    kNothingToSaveAsSound,
    kNothingToPrint,
    kNothingToSave,
    kOutputUnusable,
    kHelpFailed,
    kUnsentText,
    kRefusedCharacter,
    kYes,
    kNo,
    kTextFiles,
    kAllFiles,
    kSoundFiles,
    kDecimalSign,
    kSoundTooLong,
    kReadFailed,
    kSoundStopped,
    kSoundUnavailable,
    kLineRefused,
    kOutputFallback,
    kSpeakerName,
    kSoundCardName,
    kSerialPortName,
    kRecordsUnreadable,
};

QStringList& Table() {
    static QStringList table = CzechTexts();
    return table;
}

QString At(Text text) {
    return Table().value(text);
}

}  // namespace

QStringList CzechTexts() {
    return {
        QStringLiteral("Chyba výstupu"),
        QStringLiteral("UPOZORNĚNÍ: Právě vložený znak \"%1\" je NEPLATNÝ, proto bude odstraněn!"),
        QStringLiteral("UPOZORNĚNÍ: Maximální délka textu je %1 znaků, proto byl původní text "
                       "zkrácen! "),
        QStringLiteral("UPOZORNĚNÍ: Text obsahoval nepodporované znaky, \nkteré jsou nyní "
                       "odstraněny!"),
        QStringLiteral("CHYBA: Neúspěšný zápis do souboru %1"),
        QStringLiteral("CHYBA VÝSTUPU: Při zavírání seriového portu"),
        QStringLiteral(
            "CHYBA: nelze použít žádný s podporovaných výstupů,\nproto je Brumlo ukončen!"),
        QStringLiteral("CHYBA: Nepodarilo se vytvorit vlakno!"),
        QStringLiteral("UPOZORNĚNÍ: Zvolená sada znaků je prázdná, proto nelze generovat "
                       "text.\nZůstává původní text."),
        QStringLiteral("UPOZORNĚNÍ: Zatím nebyl vyslán ani zobrazen žádný text,\nnení tedy s čím "
                       "opis porovnat."),
        QStringLiteral("Výborně, opis lekce je alespoň z 90 % správně.\nPřejít na lekci %1?"),
        QStringLiteral("UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto není "
                       "možné uložit zvuk."),
        QStringLiteral("UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto nelze "
                       "vložit text do tisku."),
        QStringLiteral("UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto není možné "
                       "text uložit."),
        QStringLiteral("Vybraný výstup není možné použít!\nZvolte prosím jiný."),
        QStringLiteral("Failed to launch help."),
        QStringLiteral("Zobrazený text se od posledního vysílání změnil a zatím nebyl vyslán,\n"
                       "takže opis nelze porovnat s tím, co jste slyšeli.\n"
                       "Porovnat opis přesto se zobrazeným textem?"),
        QStringLiteral("Znak \"%1\" nemá morseovku, do opisu nebyl přijat."),
        QStringLiteral("&Ano"),
        QStringLiteral("&Ne"),
        QStringLiteral("Textové soubory (*.txt)"),
        QStringLiteral("Všechny soubory (*.*)"),
        QStringLiteral("Zvukové soubory (*.wav)"),
        QStringLiteral(","),
        QStringLiteral("UPOZORNĚNÍ: Zvuk by trval přes %1 minut, proto nebyl uložen.\nZkraťte "
                       "text nebo vypněte rychlostní žebříček."),
        QStringLiteral("UPOZORNĚNÍ: Soubor %1 nelze přečíst (%2).\nBrumlo pracuje s výchozími "
                       "hodnotami a soubor nechává, jak je. Až změníte, co obsahuje, uloží nový\n"
                       "a původní ponechá vedle jako %1.bak."),
        QStringLiteral("CHYBA VÝSTUPU: Zvuk přestal hrát (zvukový server se odpojil).\nVysílání "
                       "bylo zastaveno; označen je text, který opravdu zazněl."),
        QStringLiteral("CHYBA VÝSTUPU: Zvuk nelze spustit (zvukový server neodpovídá).\nVysílání "
                       "bylo zastaveno."),
        QStringLiteral("CHYBA VÝSTUPU: Výstup %1 nelze klíčovat (%2).\nVysílání bylo zastaveno; "
                       "označen je text, který byl opravdu odvysílán."),
        QStringLiteral("UPOZORNĚNÍ: Výstup uložený v nastavení (%1) nelze použít.\nMísto něj se "
                       "nyní používá: %2. Uložená volba zůstává pro příští spuštění."),
        QStringLiteral("reproduktor PC"),
        QStringLiteral("zvuková karta"),
        QStringLiteral("sériový port %1"),
        QStringLiteral("UPOZORNĚNÍ: Soubor záznamů %1 nelze přečíst (%2).\nStatistiky bez "
                       "něj nejsou úplné; nové záznamy se do něj dál připisují."),
    };
}

void UseLanguageFile(const QString& languageFile) {
    QStringList texts = ReadCaptionsOver(languageFile, 0, CzechTexts());
    for (QString& text : texts) {
        text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    }
    // A blank decimal sign would run the digits together.
    if (texts[kDecimalSign].trimmed().isEmpty()) {
        texts[kDecimalSign] = CzechTexts()[kDecimalSign];
    }
    Table() = texts;
}

QStringList Texts() {
    return Table();
}

QString OutputCaption() {
    return At(kOutputCaption);
}

QString InvalidCharacter(const QString& character) {
    return At(kInvalidCharacter).arg(character);
}

QString TextTooLong(int limit) {
    return At(kTextTooLong).arg(limit);
}

QString UnsupportedRemoved() {
    return At(kUnsupportedRemoved);
}

QString WriteFailed(const QString& path, int error) {
    const QString message = At(kWriteFailed).arg(path);
    if (error == 0) {
        return message;
    }
    return message + QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(error)) +
           QLatin1Char(')');
}

QString ReadFailed(const QString& path, int error) {
    return At(kReadFailed).arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

namespace {

QString OutputName(int kind, const QString& port) {
    switch (kind) {
        case kSpeakerOutput:
            return At(kSpeakerName);
        case kSoundCardOutput:
            return At(kSoundCardName);
        default:
            return At(kSerialPortName).arg(port);
    }
}

}  // namespace

QString OutputFailed(OutputFault fault, int error, int kind, const QString& port) {
    switch (fault) {
        case OutputFault::kSoundStopped:
            return At(kSoundStopped);
        case OutputFault::kSoundUnavailable:
            return At(kSoundUnavailable);
        default:
            return At(kLineRefused)
                .arg(OutputName(kind, port), QString::fromLocal8Bit(std::strerror(error)));
    }
}

QString OutputFallback(int storedKind, const QString& storedPort, int usedKind,
                       const QString& usedPort) {
    return At(kOutputFallback)
        .arg(OutputName(storedKind, storedPort), OutputName(usedKind, usedPort));
}

QString RecordsUnreadable(const QString& path, int error) {
    return At(kRecordsUnreadable).arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

QString SerialCloseFailed() {
    return At(kSerialCloseFailed);
}

QString NoOutput() {
    return At(kNoOutput);
}

QString ThreadFailed() {
    return At(kThreadFailed);
}

QString NothingToGenerate() {
    return At(kNothingToGenerate);
}

QString NothingToCheck() {
    return At(kNothingToCheck);
}

QString NextLesson(int lesson) {
    return At(kNextLesson).arg(lesson);
}

QString NothingToSaveAsSound() {
    return At(kNothingToSaveAsSound);
}

QString SoundTooLong(int minutes) {
    return At(kSoundTooLong).arg(minutes);
}

QString NothingToPrint() {
    return At(kNothingToPrint);
}

QString NothingToSave() {
    return At(kNothingToSave);
}

QString OutputUnusable() {
    return At(kOutputUnusable);
}

QString HelpFailed() {
    return At(kHelpFailed);
}

QString UnsentText() {
    return At(kUnsentText);
}

QString RefusedCharacter(const QString& character) {
    return At(kRefusedCharacter).arg(character);
}

QString Yes() {
    return At(kYes);
}

QString No() {
    return At(kNo);
}

QString TextFilesFilter() {
    return At(kTextFiles);
}

QString AllFilesFilter() {
    return At(kAllFiles);
}

QString SoundFilesFilter() {
    return At(kSoundFiles);
}

QString DecimalSign() {
    return At(kDecimalSign);
}

QString Number(double value, int decimals) {
    QString number = QLocale::c().toString(value, 'f', decimals);
    number.replace(QLatin1Char('.'), At(kDecimalSign));
    return number;
}

}  // namespace messages

void messages::UseToolkitCzech(bool czech) {
    static QTranslator* czechToolkit = nullptr;
    if (QCoreApplication::instance() == nullptr) {
        return;
    }
    if (czechToolkit == nullptr) {
        czechToolkit = new QTranslator(QCoreApplication::instance());
        // Without the system's translations the toolkit stays in English.
        if (!czechToolkit->load(QStringLiteral("qtbase_cs"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            return;
        }
    }
    if (czech) {
        QCoreApplication::installTranslator(czechToolkit);
    } else {
        QCoreApplication::removeTranslator(czechToolkit);
    }
}
