#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "training/CCopyCheck.h"

class QPainter;

// Draws a checked copy as the display shows the text: the sent text in its lines of sixty
// columns between rulers of ten six-character divisions, the lines numbered on both sides, and
// each character marked. The marks differ in shape as well as colour, so that they read on a
// black-and-white print and for colour-blind users: a wrong character is underlined with what
// was copied below it, a missed one is framed with a dash below it, an extra one is a wedge
// between two characters with the extra characters below it, and a right one has no mark.
// User-interface thread only.
class CCopyCheckPainter {
public:
    static constexpr int kColumns = 60;

    // The legend's four texts: right, wrong, missed, extra.
    static QStringList DefaultLegend();

    // `sentText`: the sent text as displayed (lines ending in CR LF); `check`: its comparison.
    CCopyCheckPainter(const QString& sentText, const CCopyCheck& check,
                      QStringList legend = DefaultLegend());

    // Fits the picture into `area` and draws it; `blackAndWhite` draws every mark in black.
    void Paint(QPainter& painter, const QRect& area, bool blackAndWhite) const;

    // Where things are drawn when the picture fills `area`.
    void FitTo(const QRect& area);
    int LineCount() const { return lineCount; }
    // The cell of the sent character at a column of a line, and the row below it that holds what
    // was copied.
    QRect CellRect(int line, int column) const;
    QRect CopyRect(int line, int column) const;
    // The line and column of a position of the sent text; {-1, -1} for a line break.
    std::pair<int, int> CellOf(std::size_t position) const;
    // The size the picture wants for a given width.
    int HeightFor(int width) const;

    static QColor ColourOf(CCopyCheck::Mark mark);

private:
    void DrawRulers(QPainter& painter) const;
    void DrawMarks(QPainter& painter, bool blackAndWhite) const;
    void DrawLegend(QPainter& painter, bool blackAndWhite) const;

    std::vector<CCopyCheck::Entry> entries;
    std::vector<std::pair<int, int>> cells;  // for each position of the sent text
    std::vector<char> sentCharacters;        // the sent text's bytes
    QStringList legend;
    int lineCount = 1;
    // Geometry of the last fit.
    QRect frame;
    int cell = 10;
    int lineHeight = 30;
    int rulerHeight = 15;
    QFont font;
    QFont small;
};
