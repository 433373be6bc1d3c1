#pragma once

#include <QString>

class QPainter;
class QPalette;

// The main window's painting around the text display, with the painter at the top of the
// window's content: the two rulers of ten six-character divisions, the line numbers on both sides
// and the embossed program name `title`. User-interface thread.
struct RulerGeometry {
    int u = 0;              // the window's horizontal unit
    int v = 0;              // its vertical unit
    int pt = 0;             // the labels' pixel size
    int viewLeft = 0;       // the text display's left edge
    int viewWidth = 0;      // its width
    int viewHeight = 0;     // its height
    int sixCharacters = 0;  // the width of six characters, one division
};

void PaintRulers(QPainter& painter, const RulerGeometry& layout, const QString& fontName,
                 const QPalette& palette, const QString& title);
