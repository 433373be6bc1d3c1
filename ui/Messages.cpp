#include "ui/Messages.h"

namespace messages {

QString InvalidCharacter(const QString& character) {
    return QStringLiteral("UPOZORNĚNÍ: Právě vložený znak \"") + character +
           QStringLiteral("\" je NEPLATNÝ, proto bude odstraněn!");
}

QString TextTooLong(int limit) {
    return QStringLiteral("UPOZORNĚNÍ: Maximální délka textu je ") + QString::number(limit) +
           QStringLiteral("znaků, proto byl původní text zkrácen! ");
}

QString UnsupportedRemoved() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Text obsahoval nepodporované znaky, \nkteré jsou nyní "
        "odstraněny!");
}

QString WriteFailed(const QString& path) {
    return QStringLiteral("CHYBA: Neúspěšný zápis do souboru ") + path;
}

QString SerialCloseFailed() {
    return QStringLiteral("CHYBA VÝSTUPU: Při zavírání seriového portu");
}

QString NoOutput() {
    return QStringLiteral(
        "CHYBA: nelze použít žádný s podporovaných výstupů,\nproto je Brumlo ukončen!");
}

QString ThreadFailed() {
    return QStringLiteral("CHYBA: Nepodarilo se vytvorit vlakno!");
}

QString NothingToGenerate() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Zvolená sada znaků je prázdná, proto nelze generovat "
        "text.\nZůstává původní text.");
}

QString NothingToCheck() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Zatím nebyl vyslán ani zobrazen žádný text,\nnení tedy s čím "
        "opis porovnat.");
}

QString NothingToSaveAsSound() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto není "
        "možné uložit zvuk.");
}

QString NextLesson(int lesson) {
    return QStringLiteral("Výborně, opis lekce je alespoň z 90 % správně.\nPřejít na lekci %1?")
        .arg(lesson);
}

QString NothingToPrint() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto nelze vložit text do "
        "tisku.");
}

QString NothingToSave() {
    return QStringLiteral(
        "UPOZORNĚNÍ: Není generován, ani vytvořen vlastní text!\nProto není možné text uložit.");
}

QString OutputUnusable() {
    return QStringLiteral("Vybraný výstup není možné použít!\nZvolte prosím jiný.");
}

QString HelpFailed() {
    return QStringLiteral("Failed to launch help.");
}

}  // namespace messages
