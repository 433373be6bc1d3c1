#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <string>
#include <utility>

#include "training/CCopyCheck.h"
#include "training/CCopyCheckLayout.h"

class QPainter;

// Draws a checked copy as CCopyCheckLayout lays it out: the sent text in its lines of sixty
// columns between rulers of ten six-character divisions, the lines numbered on both sides, and
// each character marked. The marks differ in shape as well as colour, so that they read on a
// black-and-white print and for colour-blind users: a wrong character is underlined with what
// was copied below it, a run of missed ones is framed with a dash below it, two swapped ones are
// tied below with what was copied below the tie, extra ones have a caret between the two
// characters they came between and stand in their own places in rows below the line, and a
// right one has no mark. User-interface thread only.
class CCopyCheckPainter {
public:
    static constexpr int kColumns = CCopyCheckLayout::kColumns;

    // The legend's texts: right, wrong, missed, extra, swapped.
    static QStringList DefaultLegend();

    // `sentText`: the sent text as displayed (lines ending in CR LF); `check`: its comparison.
    // Legend texts missing from `legend` keep their default.
    CCopyCheckPainter(const std::string& sentText, const CCopyCheck& check,
                      QStringList legend = DefaultLegend());

    // Fits the picture into `area` and draws it; `blackAndWhite` draws every mark in black.
    void Paint(QPainter& painter, const QRect& area, bool blackAndWhite) const;

    // The paper and the ink of the rulers, numbers and legend: white and black unless a window
    // gives its palette's. A mark's colour that would not read on the paper is drawn in the ink.
    void SetColours(const QColor& paperColour, const QColor& inkColour);
    QColor MarkColour(CCopyCheck::Mark mark) const;

    // The legend as drawn.
    const QStringList& Legend() const { return legend; }

    // Where things are drawn when the picture fills `area`.
    void FitTo(const QRect& area);
    int LineCount() const { return layout.LineCount(); }
    // The cell of the sent character at a column of a line, and the row below it that holds what
    // was copied.
    QRect CellRect(int line, int column) const;
    QRect CopyRect(int line, int column) const;
    // The line and column of a position of the sent text; {-1, -1} for a line break.
    std::pair<int, int> CellOf(std::size_t position) const { return layout.CellOf(position); }
    // The size the picture wants for a given width.
    int HeightFor(int width) const;
    // The pixels a box of the layout takes when the picture fills the last fitted area.
    QRect ToPixels(const CCopyCheckLayout::Box& box) const;
    const CCopyCheckLayout& Layout() const { return layout; }

    static QColor ColourOf(CCopyCheck::Mark mark);

private:
    void Draw(QPainter& painter, const CCopyCheckLayout::Item& item, bool blackAndWhite) const;
    void DrawRuler(QPainter& painter, const CCopyCheckLayout::Box& box, bool top) const;
    void DrawGlyph(QPainter& painter, const CCopyCheckLayout::Box& box, QChar glyph,
                   const QFont& face) const;
    void DrawFrame(QPainter& painter, const QRect& rect, const QColor& colour) const;

    QStringList legend;
    CCopyCheckLayout layout;
    QColor paper{Qt::white};
    QColor ink{Qt::black};
    // Geometry of the last fit: the top left corner of the page and the width of a cell.
    QPointF origin;
    double cell = 10;
    QFont font;   // the sent characters and the line numbers
    QFont small;  // what was copied, the rulers' numbers, the legend
};
