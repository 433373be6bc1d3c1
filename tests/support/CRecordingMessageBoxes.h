#pragma once

#include <QStringList>

#include "ui/CMessageBoxes.h"

// Answers every message box at once and remembers it as "E|caption|text", "W|caption|text" or,
// for a question, "Q|caption|text"; questions get `answer`.
class CRecordingMessageBoxes : public CMessageBoxes {
public:
    void Show(Icon icon, const QString& caption, const QString& text, QWidget*) override {
        shown << (icon == Icon::Error ? QStringLiteral("E|") : QStringLiteral("W|")) + caption +
                     QStringLiteral("|") + text;
    }
    bool Ask(const QString& caption, const QString& text, QWidget*) override {
        shown << QStringLiteral("Q|") + caption + QStringLiteral("|") + text;
        return answer;
    }
    QStringList shown;
    bool answer = true;
};
