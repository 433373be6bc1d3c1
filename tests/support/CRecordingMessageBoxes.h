#pragma once

#include <QStringList>

#include "ui/CMessageBoxes.h"

// Answers every message box at once and remembers it as "E|caption|text" or "W|caption|text".
class CRecordingMessageBoxes : public CMessageBoxes {
public:
    void Show(Icon icon, const QString& caption, const QString& text, QWidget*) override {
        shown << (icon == Icon::Error ? QStringLiteral("E|") : QStringLiteral("W|")) + caption +
                     QStringLiteral("|") + text;
    }
    QStringList shown;
};
