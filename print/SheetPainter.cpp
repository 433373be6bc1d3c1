#include "print/SheetPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "print/CPrintCollection.h"
#include "print/Cp1250.h"
#include "print/PrintGeometry.h"

namespace {

QFont SheetFont(int height) {
    QFont font(QStringLiteral("Courier"));
    font.setFamilies({QStringLiteral("Courier"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setWeight(QFont::Black);
    font.setPixelSize(height);
    return font;
}

void PaintBlock(QPainter& painter, const SheetGeometry& g, int row0, const SheetBlock& block,
                CPrintCollection& collection, int& lineNumber) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int L = g.lineHeight;
    const auto top = [&](int row) { return (row0 + row) * L; };
    const auto middle = [&](int row) { return (row0 + row) * L + L / 2; };
    const auto text = [&](int x, int row, const QString& s) {
        painter.drawText(x, top(row) + metrics.ascent(), s);
    };
    for (int k = 1; k <= 9; ++k) {
        text(g.x0 + g.o / 3 + (k - 1) * g.p, 0, QString::number(k));
    }
    text(g.x0 + g.o / 3 + 9 * g.p - g.m / 2, 0, QStringLiteral("10"));
    painter.drawLine(g.xn, middle(1), g.xr, middle(1));
    for (int r = 0; r < block.records; ++r) {
        text(g.xn, 2 + r, QString::number(lineNumber));
        lineNumber = (lineNumber + 1) % 5;
        text(g.x0, 2 + r, FromCp1250(collection.ReadRecord()));
    }
    // A shorter last block keeps its frame around the lines it has.
    const int last = 2 + block.records;
    painter.drawLine(g.xn, middle(last), g.xr, middle(last));
    painter.drawLine(g.xl, top(-1), g.xl, middle(last));
    painter.drawLine(g.xr, top(-1), g.xr, middle(last));
}

}  // namespace

bool PrintSheets(CPrintCollection& collection, QPrinter& printer) {
    printer.setDocName(QStringLiteral("Brumlo"));
    const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
    const int W = area.width();
    const QString widest(61, QLatin1Char('W'));
    const int height = FitSheetFont(
        W, [&](int h) { return QFontMetrics(SheetFont(h), &printer).horizontalAdvance(widest); });
    const QFont font = SheetFont(height);
    const QFontMetrics metrics(font, &printer);
    const SheetGeometry g =
        ComputeSheetGeometry(W, area.height(), metrics.horizontalAdvance(widest),
                             metrics.height() + metrics.leading(), metrics.averageCharWidth());

    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, std::max(1, g.m / 8)));
    collection.Rewind();
    int lineNumber = 0;
    const auto pages = LayOutBlocks(collection.Records(), g.blocksPerPage);
    for (std::size_t page = 0; page < pages.size(); ++page) {
        if (page > 0 && !printer.newPage()) {
            break;
        }
        for (std::size_t j = 0; j < pages[page].size(); ++j) {
            PaintBlock(painter, g, static_cast<int>(j) * 8, pages[page][j], collection, lineNumber);
        }
    }
    painter.end();
    collection.Rewind();
    return true;
}
