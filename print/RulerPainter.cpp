#include "print/RulerPainter.h"

#include <algorithm>

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

void PaintRulers(QPainter& painter, const RulerGeometry& layout, const QString& fontName,
                 const QPalette& palette, const QString& title) {
    const int u = layout.u;
    const int v = layout.v;
    const int pt = layout.pt;
    const int X0 = layout.viewLeft;
    const int t = layout.viewWidth;
    const int L = layout.viewHeight;
    const int D = layout.sixCharacters;
    QFont rulerFont(fontName);
    rulerFont.setPixelSize(std::max(pt, 6));
    painter.setFont(rulerFont);
    painter.setPen(palette.color(QPalette::WindowText));
    const QFontMetrics metrics(rulerFont);
    const int O = D / 2 + static_cast<int>(-0.2 * D) / 2;
    const auto label = [&](int i) { return QString::number(i + 1); };

    // Upper ruler: ten divisions of six characters above the text.
    const int upper = 5 * u + 4 * v;
    painter.drawLine(X0, upper, X0 + 10 * D, upper);
    for (int i = 0; i <= 10; ++i) {
        painter.drawLine(X0 + i * D, upper, X0 + i * D, 5 * u + static_cast<int>(7.5 * v));
    }
    for (int i = 0; i < 10; ++i) {
        painter.drawText(X0 + i * D + O, upper + v / 2 + metrics.ascent(), label(i));
    }
    // Lower ruler.
    const int lower = 5 * u + 12 * v + L;
    painter.drawLine(X0, lower, X0 + 10 * D, lower);
    for (int i = 0; i <= 10; ++i) {
        painter.drawLine(X0 + i * D, lower, X0 + i * D, 5 * u + L + 3 * v + (11 * v) / 2);
    }
    for (int i = 0; i < 10; ++i) {
        painter.drawText(X0 + i * D + O, 5 * u + 11 * v + L - pt + metrics.ascent(), label(i));
    }
    // Line numbers on both sides of the text, one per display line.
    for (int i = 0; i < 5; ++i) {
        const int y = 5 * u + 8 * v + pt / 2 + i * (L / 5) + metrics.ascent();
        painter.drawText(X0 - u / 2 - pt - metrics.horizontalAdvance(QLatin1Char('0')), y,
                         QString::number(i));
        painter.drawText(X0 + t + pt, y, QString::number(i));
    }
    // The embossed caption, its right edge on the right edge of the text.
    const int h = (2 * (5 * u + 3 * v)) / 3;
    QFont captionFont(QStringLiteral("Liberation Sans"));
    captionFont.setPixelSize(std::max(h, 8));
    captionFont.setWeight(QFont::Black);
    captionFont.setItalic(true);
    painter.setFont(captionFont);
    const QString& caption = title;
    const int x = X0 + t - QFontMetrics(captionFont).horizontalAdvance(caption);
    const int y = v + h / 2 + QFontMetrics(captionFont).ascent() / 2;
    painter.setPen(palette.color(QPalette::Shadow));
    painter.drawText(x, y, caption);
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawText(x - 2, y - 2, caption);
}
