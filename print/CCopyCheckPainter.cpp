#include "print/CCopyCheckPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "print/Contrast.h"
#include "print/Cp1250.h"
#include "print/MorseFont.h"

namespace {

using Box = CCopyCheckLayout::Box;
using Kind = CCopyCheckLayout::Kind;

// The Morse font at the largest size whose widest capital fits `width` and whose lines fit
// `height` (pixels).
QFont FittedFont(double width, double height) {
    int size = std::max(1, static_cast<int>(height));
    QFont face = MorseFont(size);
    while (size > 1) {
        const QFontMetrics metrics(face);
        if (metrics.horizontalAdvance(QLatin1Char('W')) <= width &&
            metrics.ascent() + metrics.descent() <= height + 0.5) {
            break;
        }
        face.setPixelSize(--size);
    }
    return face;
}

// The legend's texts are measured at this cell width; they scale with it.
constexpr double kReferenceCell = 20.0;

QFont GlyphFont(double cell) {
    return FittedFont(0.7 * cell, 1.4 * cell);
}

QFont SmallFont(double cell) {
    return FittedFont(0.7 * cell, 0.9 * cell);
}

std::vector<double> LegendWidths(const QStringList& legend) {
    const QFontMetrics metrics(SmallFont(kReferenceCell));
    std::vector<double> widths;
    for (const QString& text : legend) {
        widths.push_back(
            text.isEmpty() ? 0.0 : metrics.horizontalAdvance(text) * 1.05 / kReferenceCell + 0.2);
    }
    return widths;
}

QStringList Completed(QStringList legend) {
    const QStringList defaults = CCopyCheckPainter::DefaultLegend();
    while (legend.size() < defaults.size()) {
        legend << defaults[legend.size()];
    }
    return legend;
}

}  // namespace

QStringList CCopyCheckPainter::DefaultLegend() {
    return {QStringLiteral("správně"), QStringLiteral("chybně (pod znakem, co bylo opsáno)"),
            QStringLiteral("vynecháno"), QStringLiteral("navíc"),
            QStringLiteral("přehozeno (dva sousední znaky)")};
}

QColor CCopyCheckPainter::ColourOf(CCopyCheck::Mark mark) {
    switch (mark) {
        case CCopyCheck::Mark::Correct:
            return {0, 110, 0};
        case CCopyCheck::Mark::Wrong:
            return {200, 0, 0};
        case CCopyCheck::Mark::Missed:
            return {0, 70, 210};
        case CCopyCheck::Mark::Transposed:
            return {190, 100, 0};
        case CCopyCheck::Mark::Extra:
            break;
    }
    return {150, 0, 170};
}

void CCopyCheckPainter::SetColours(const QColor& paperColour, const QColor& inkColour) {
    paper = paperColour;
    ink = inkColour;
}

QColor CCopyCheckPainter::MarkColour(CCopyCheck::Mark mark) const {
    return ReadableInk(ColourOf(mark), ink, paper, kLargeTextContrast);
}

CCopyCheckPainter::CCopyCheckPainter(const std::string& sentText, const CCopyCheck& check,
                                     QStringList legendTexts)
    : legend(Completed(std::move(legendTexts))), layout(sentText, check, LegendWidths(legend)) {
    FitTo(QRect(0, 0, 800, HeightFor(800)));
}

int CCopyCheckPainter::HeightFor(int width) const {
    return static_cast<int>(std::ceil(layout.Height() * width / layout.Width())) + 2;
}

void CCopyCheckPainter::FitTo(const QRect& area) {
    // The whole page fits the area, however small: nothing is drawn outside it.
    cell = std::max(0.1, std::min(area.width() / layout.Width(), area.height() / layout.Height()));
    origin = QPointF(area.x() + (area.width() - cell * layout.Width()) / 2, area.y());
    font = GlyphFont(cell);
    small = SmallFont(cell);
}

QRect CCopyCheckPainter::ToPixels(const Box& box) const {
    const int left = static_cast<int>(std::lround(origin.x() + box.x * cell));
    const int top = static_cast<int>(std::lround(origin.y() + box.y * cell));
    const int right = static_cast<int>(std::lround(origin.x() + box.Right() * cell));
    const int bottom = static_cast<int>(std::lround(origin.y() + box.Bottom() * cell));
    return {left, top, std::max(1, right - left), std::max(1, bottom - top)};
}

QRect CCopyCheckPainter::CellRect(int line, int column) const {
    return ToPixels(layout.CellBox(line, column));
}

QRect CCopyCheckPainter::CopyRect(int line, int column) const {
    return ToPixels(layout.CopyBox(line, column));
}

void CCopyCheckPainter::Paint(QPainter& painter, const QRect& area, bool blackAndWhite) const {
    CCopyCheckPainter fitted = *this;
    fitted.FitTo(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    bool top = true;
    for (const CCopyCheckLayout::Item& item : fitted.layout.Items()) {
        if (item.kind == Kind::Ruler) {
            fitted.DrawRuler(painter, item.box, top);
            top = false;
            continue;
        }
        fitted.Draw(painter, item, blackAndWhite);
    }
    painter.restore();
}

void CCopyCheckPainter::DrawGlyph(QPainter& painter, const Box& box, QChar glyph,
                                  const QFont& face) const {
    const QRect rect = ToPixels(box);
    const QFontMetrics metrics(face);
    painter.setFont(face);
    const int x = rect.x() + (rect.width() - metrics.horizontalAdvance(glyph)) / 2;
    const int baseline =
        rect.y() + (rect.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
    painter.drawText(x, baseline, QString(glyph));
}

void CCopyCheckPainter::DrawFrame(QPainter& painter, const QRect& rect,
                                  const QColor& colour) const {
    // Drawn inside the rectangle, so that it keeps clear of the glyphs around it.
    const int thick = std::max(1, static_cast<int>(cell * 0.08));
    painter.fillRect(QRect(rect.x(), rect.y(), rect.width(), thick), colour);
    painter.fillRect(QRect(rect.x(), rect.bottom() - thick + 1, rect.width(), thick), colour);
    painter.fillRect(QRect(rect.x(), rect.y(), thick, rect.height()), colour);
    painter.fillRect(QRect(rect.right() - thick + 1, rect.y(), thick, rect.height()), colour);
}

void CCopyCheckPainter::DrawRuler(QPainter& painter, const Box& box, bool top) const {
    const QRect rect = ToPixels(box);
    const double left = origin.x() + CCopyCheckLayout::kSideCells * cell;
    const int y = top ? rect.bottom() - static_cast<int>(0.2 * cell)
                      : rect.y() + static_cast<int>(0.2 * cell);
    const int tick = static_cast<int>(0.4 * cell);
    painter.setPen(QPen(ink, 1));
    painter.drawLine(static_cast<int>(std::lround(left)), y,
                     static_cast<int>(std::lround(left + kColumns * cell)), y);
    for (int division = 0; division <= 10; ++division) {
        const int x = static_cast<int>(std::lround(left + division * 6 * cell));
        painter.drawLine(x, y, x, top ? y - tick : y + tick);
    }
    // The numbers between the ticks, on the far side of the line from the text.
    const QFont face =
        FittedFont(1.5 * cell, top ? y - tick - rect.y() - 1 : rect.bottom() - y - tick - 1);
    const QFontMetrics metrics(face);
    painter.setFont(face);
    for (int division = 0; division < 10; ++division) {
        const QString label = QString::number(division + 1);
        const int x = static_cast<int>(std::lround(left + (division * 6 + 3) * cell)) -
                      metrics.horizontalAdvance(label) / 2;
        const int baseline =
            top ? y - tick - metrics.descent() - 1 : y + tick + 1 + metrics.ascent();
        painter.drawText(x, baseline, label);
    }
}

void CCopyCheckPainter::Draw(QPainter& painter, const CCopyCheckLayout::Item& item,
                             bool blackAndWhite) const {
    const QColor markInk = blackAndWhite ? ink : MarkColour(item.mark);
    const QRect rect = ToPixels(item.box);
    const auto glyphs = [&](const QFont& face) {
        painter.setPen(QPen(markInk, 1));
        for (std::size_t k = 0; k < item.glyphs.size() && k < item.text.size(); ++k) {
            DrawGlyph(painter, item.glyphs[k], FromCp1250(item.text[k]).at(0), face);
        }
    };
    const int line = std::max(1, static_cast<int>(cell * 0.12));
    switch (item.kind) {
        case Kind::Ruler:
            break;
        case Kind::LineNumber: {
            painter.setPen(QPen(ink, 1));
            painter.setFont(font);
            const QFontMetrics metrics(font);
            const QString number = QString::fromStdString(item.text);
            painter.drawText(rect.x() + (rect.width() - metrics.horizontalAdvance(number)) / 2,
                             rect.y() + (rect.height() - metrics.ascent() - metrics.descent()) / 2 +
                                 metrics.ascent(),
                             number);
            break;
        }
        case Kind::Character:
            glyphs(font);
            break;
        case Kind::MissedFrame:
            DrawFrame(painter, rect, markInk);
            glyphs(font);
            break;
        case Kind::MissedDash:
            painter.fillRect(
                QRect(rect.x(), rect.y() + (rect.height() - line) / 2, rect.width(), line),
                markInk);
            break;
        case Kind::Underline:
            painter.fillRect(rect, markInk);
            break;
        case Kind::Copied:
            glyphs(small);
            break;
        case Kind::SwapTie:
            // A bracket open to the characters above it.
            painter.fillRect(QRect(rect.x(), rect.bottom() - line + 1, rect.width(), line),
                             markInk);
            painter.fillRect(QRect(rect.x(), rect.y(), line, rect.height()), markInk);
            painter.fillRect(QRect(rect.right() - line + 1, rect.y(), line, rect.height()),
                             markInk);
            break;
        case Kind::ExtraCaret: {
            // A wedge pointing up at the gap, with a stem down to the extra characters' rows.
            const int wedge = std::min(rect.height(), static_cast<int>(0.4 * cell) + 1);
            QPainterPath path;
            path.moveTo(rect.x() + rect.width() / 2.0, rect.y());
            path.lineTo(rect.x(), rect.y() + wedge);
            path.lineTo(rect.x() + rect.width(), rect.y() + wedge);
            path.closeSubpath();
            painter.fillPath(path, markInk);
            const int stem = std::max(1, rect.width() / 3);
            painter.fillRect(QRect(rect.x() + (rect.width() - stem) / 2, rect.y() + wedge, stem,
                                   rect.height() - wedge),
                             markInk);
            break;
        }
        case Kind::Extra:
            if (item.wholeGroup) {
                DrawFrame(painter, rect, markInk);
            }
            glyphs(small);
            break;
        case Kind::LegendSample: {
            const Box& b = item.box;
            const bool pair = item.mark == CCopyCheck::Mark::Transposed;
            painter.setPen(QPen(markInk, 1));
            DrawGlyph(painter, {b.x + 0.15, b.y + 0.1, 0.7, 1.4}, QLatin1Char('A'), font);
            if (pair) {
                DrawGlyph(painter, {b.x + 1.15, b.y + 0.1, 0.7, 1.4}, QLatin1Char('B'), font);
            }
            const QRect below = ToPixels({b.x + 0.15, b.y + 1.6, b.width - 0.3, 0.25});
            if (item.mark == CCopyCheck::Mark::Wrong) {
                painter.fillRect(below, markInk);
            } else if (item.mark == CCopyCheck::Mark::Missed) {
                DrawFrame(painter, ToPixels({b.x + 0.05, b.y, 0.9, 1.6}), markInk);
            } else if (item.mark == CCopyCheck::Mark::Extra) {
                const QRect caret = ToPixels({b.x + 0.35, b.y + 1.6, 0.3, 0.3});
                QPainterPath path;
                path.moveTo(caret.x() + caret.width() / 2.0, caret.y());
                path.lineTo(caret.x(), caret.bottom() + 1);
                path.lineTo(caret.right() + 1, caret.bottom() + 1);
                path.closeSubpath();
                painter.fillPath(path, markInk);
            } else if (pair) {
                painter.fillRect(QRect(below.x(), below.bottom() - line + 1, below.width(), line),
                                 markInk);
                painter.fillRect(QRect(below.x(), below.y(), line, below.height()), markInk);
                painter.fillRect(QRect(below.right() - line + 1, below.y(), line, below.height()),
                                 markInk);
            }
            break;
        }
        case Kind::LegendText: {
            painter.setPen(QPen(ink, 1));
            painter.setFont(small);
            const QFontMetrics metrics(small);
            const QString text =
                metrics.elidedText(legend.value(item.legendIndex), Qt::ElideRight, rect.width());
            painter.drawText(rect.x(),
                             rect.y() + (rect.height() - metrics.ascent() - metrics.descent()) / 2 +
                                 metrics.ascent(),
                             text);
            break;
        }
    }
}
