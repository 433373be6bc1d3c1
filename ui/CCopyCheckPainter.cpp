#include "ui/CCopyCheckPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <map>

#include "ui/CTextView.h"
#include "ui/Cp1250.h"

namespace {

// Margins in cells: room for the line numbers on either side.
constexpr int kSideCells = 4;
// A text line is this many cells high: the character, what was copied, and air.
constexpr double kLineCells = 3.2;
constexpr double kRulerCells = 2.0;
constexpr double kLegendCells = 3.0;

QFont FontForCell(int cell, double share) {
    // The Morse font's advance is about 0.6 of its pixel height.
    QFont font = MorseFont(std::max(4, static_cast<int>(cell * share / 0.6)));
    while (font.pixelSize() > 4 &&
           QFontMetrics(font).horizontalAdvance(QLatin1Char('W')) > cell * share) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

}  // namespace

QStringList CCopyCheckPainter::DefaultLegend() {
    return {QStringLiteral("správně"), QStringLiteral("chybně (pod znakem, co bylo opsáno)"),
            QStringLiteral("vynecháno"), QStringLiteral("navíc")};
}

QColor CCopyCheckPainter::ColourOf(CCopyCheck::Mark mark) {
    switch (mark) {
        case CCopyCheck::Mark::Correct:
            return {0, 110, 0};
        case CCopyCheck::Mark::Wrong:
            return {200, 0, 0};
        case CCopyCheck::Mark::Missed:
            return {0, 70, 210};
        case CCopyCheck::Mark::Extra:
            break;
    }
    return {150, 0, 170};
}

CCopyCheckPainter::CCopyCheckPainter(const QString& sentText, const CCopyCheck& check,
                                     QStringList legendTexts)
    : entries(check.Entries()), legend(std::move(legendTexts)) {
    const std::string bytes = ToCp1250(sentText);
    int line = 0;
    int column = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        sentCharacters.push_back(bytes[i]);
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            cells.emplace_back(-1, -1);
            if (bytes[i] == '\n') {
                ++line;
                column = 0;
            }
            continue;
        }
        cells.emplace_back(line, column);
        ++column;
    }
    lineCount = std::max(1, line + (column > 0 ? 1 : 0));
    while (legend.size() < 4) {
        legend << QString();
    }
    FitTo(QRect(0, 0, 800, HeightFor(800)));
}

int CCopyCheckPainter::HeightFor(int width) const {
    const int c = width / (kColumns + 2 * kSideCells);
    return static_cast<int>(c * (2 * kRulerCells + lineCount * kLineCells + kLegendCells)) + 2;
}

void CCopyCheckPainter::FitTo(const QRect& area) {
    const double heightCells = 2 * kRulerCells + lineCount * kLineCells + kLegendCells;
    cell = std::max(4, std::min(area.width() / (kColumns + 2 * kSideCells),
                                static_cast<int>(area.height() / heightCells)));
    lineHeight = static_cast<int>(cell * kLineCells);
    rulerHeight = static_cast<int>(cell * kRulerCells);
    const int width = cell * (kColumns + 2 * kSideCells);
    frame = QRect(area.x() + (area.width() - width) / 2, area.y(), width,
                  static_cast<int>(cell * heightCells));
    font = FontForCell(cell, 1.0);
    small = FontForCell(cell, 0.8);
}

QRect CCopyCheckPainter::CellRect(int line, int column) const {
    const int x = frame.x() + (kSideCells + column) * cell;
    const int y = frame.y() + rulerHeight + line * lineHeight;
    return {x, y, cell, QFontMetrics(font).height()};
}

QRect CCopyCheckPainter::CopyRect(int line, int column) const {
    const QRect above = CellRect(line, column);
    return {above.x(), above.bottom() + 1 + cell / 4, cell, QFontMetrics(small).height()};
}

std::pair<int, int> CCopyCheckPainter::CellOf(std::size_t position) const {
    if (position < cells.size()) {
        return cells[position];
    }
    // After the last character: the column after it.
    for (std::size_t i = cells.size(); i-- > 0;) {
        if (cells[i].first >= 0) {
            return {cells[i].first, cells[i].second + 1};
        }
    }
    return {0, 0};
}

void CCopyCheckPainter::Paint(QPainter& painter, const QRect& area, bool blackAndWhite) const {
    CCopyCheckPainter fitted = *this;
    fitted.FitTo(area);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    fitted.DrawRulers(painter);
    fitted.DrawMarks(painter, blackAndWhite);
    fitted.DrawLegend(painter, blackAndWhite);
    painter.restore();
}

void CCopyCheckPainter::DrawRulers(QPainter& painter) const {
    painter.setPen(QPen(Qt::black, 1));
    painter.setFont(small);
    const QFontMetrics metrics(small);
    const int left = frame.x() + kSideCells * cell;
    const int right = left + kColumns * cell;
    const int top = frame.y() + rulerHeight - cell / 3;
    const int bottom = frame.y() + rulerHeight + lineCount * lineHeight;
    for (const int y : {top, bottom}) {
        painter.drawLine(left, y, right, y);
        for (int division = 0; division <= 10; ++division) {
            const int x = left + division * 6 * cell;
            painter.drawLine(x, y - cell / 2, x, y + cell / 2);
        }
        for (int division = 0; division < 10; ++division) {
            const QString label = QString::number(division + 1);
            const int x =
                left + division * 6 * cell + 3 * cell - metrics.horizontalAdvance(label) / 2;
            const int baseline = y == top ? y - cell / 2 - 1 : y + cell / 2 + metrics.ascent();
            painter.drawText(x, baseline, label);
        }
    }
    for (int line = 0; line < lineCount; ++line) {
        const QRect first = CellRect(line, 0);
        const int baseline = first.y() + QFontMetrics(font).ascent();
        const QString number = QString::number(line);
        painter.drawText(left - 2 * cell - metrics.horizontalAdvance(number), baseline, number);
        painter.drawText(right + 2 * cell, baseline, number);
    }
}

void CCopyCheckPainter::DrawMarks(QPainter& painter, bool blackAndWhite) const {
    const auto colour = [blackAndWhite](CCopyCheck::Mark mark) {
        return blackAndWhite ? QColor(Qt::black) : ColourOf(mark);
    };
    const QFontMetrics metrics(font);
    const QFontMetrics smallMetrics(small);
    const auto centred = [&](const QRect& box, const QString& text, const QFont& face) {
        painter.setFont(face);
        const QFontMetrics m(face);
        painter.drawText(box.x() + (box.width() - m.horizontalAdvance(text)) / 2,
                         box.y() + m.ascent(), text);
    };
    // Extra characters at one place are shown together.
    std::map<std::size_t, QString> extras;
    for (const CCopyCheck::Entry& entry : entries) {
        if (entry.mark == CCopyCheck::Mark::Extra) {
            extras[entry.position] += FromCp1250(entry.copied);
            continue;
        }
        const auto [line, column] = CellOf(entry.position);
        if (line < 0) {
            continue;
        }
        const QRect box = CellRect(line, column);
        const QColor ink = colour(entry.mark);
        painter.setPen(QPen(ink, 1));
        centred(box, FromCp1250(entry.sent), font);
        const int thick = std::max(2, cell / 6);
        if (entry.mark == CCopyCheck::Mark::Wrong) {
            painter.fillRect(QRect(box.x() + 1, box.bottom() + 1, box.width() - 2, thick), ink);
            centred(CopyRect(line, column), FromCp1250(entry.copied), small);
        } else if (entry.mark == CCopyCheck::Mark::Missed) {
            painter.setPen(QPen(ink, thick / 2 + 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            centred(CopyRect(line, column), QStringLiteral("–"), small);
        }
    }
    for (const auto& [position, text] : extras) {
        const auto [line, column] = CellOf(position);
        if (line < 0) {
            continue;
        }
        const QRect box = CellRect(line, column);
        const QColor ink = colour(CCopyCheck::Mark::Extra);
        // A wedge pointing up at the gap before the character.
        const int x = box.x();
        const int y = box.bottom() + 1;
        QPainterPath wedge;
        wedge.moveTo(x, y);
        wedge.lineTo(x - cell / 3, y + cell / 2);
        wedge.lineTo(x + cell / 3, y + cell / 2);
        wedge.closeSubpath();
        painter.fillPath(wedge, ink);
        painter.setPen(QPen(ink, 1));
        painter.setFont(small);
        const QRect below = CopyRect(line, column);
        painter.drawText(x - smallMetrics.horizontalAdvance(text) / 2,
                         below.y() + cell / 3 + smallMetrics.ascent(), text);
    }
}

void CCopyCheckPainter::DrawLegend(QPainter& painter, bool blackAndWhite) const {
    const int y = frame.y() + 2 * rulerHeight + lineCount * lineHeight;
    int x = frame.x() + kSideCells * cell;
    painter.setFont(small);
    const QFontMetrics metrics(small);
    const CCopyCheck::Mark marks[] = {CCopyCheck::Mark::Correct, CCopyCheck::Mark::Wrong,
                                      CCopyCheck::Mark::Missed, CCopyCheck::Mark::Extra};
    for (int k = 0; k < 4; ++k) {
        const QColor ink = blackAndWhite ? QColor(Qt::black) : ColourOf(marks[k]);
        const QRect sample(x, y, cell, metrics.height());
        painter.setPen(QPen(ink, 1));
        painter.drawText(sample.x(), sample.y() + metrics.ascent(), QStringLiteral("A"));
        if (marks[k] == CCopyCheck::Mark::Wrong) {
            painter.fillRect(QRect(sample.x(), sample.bottom() + 1, sample.width(), 2), ink);
        } else if (marks[k] == CCopyCheck::Mark::Missed) {
            painter.drawRect(sample.adjusted(-1, 0, 0, 0));
        } else if (marks[k] == CCopyCheck::Mark::Extra) {
            painter.fillRect(QRect(sample.x() - 1, sample.y(), 2, sample.height()), ink);
        }
        painter.setPen(QPen(Qt::black, 1));
        painter.drawText(x + 2 * cell, y + metrics.ascent(), legend[k]);
        x += 3 * cell + metrics.horizontalAdvance(legend[k]);
    }
}
