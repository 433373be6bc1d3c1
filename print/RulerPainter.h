#pragma once

#include <QString>

#include "session/MainLayout.h"

class QPainter;
class QPalette;

// The main window's painting around the text display, with the painter at the top of the
// window's content: the two rulers of ten six-character divisions, the line numbers on both sides
// and the embossed program name `title`. User-interface thread.
void PaintRulers(QPainter& painter, const MainLayout& layout, const QString& fontName,
                 const QPalette& palette, const QString& title);
