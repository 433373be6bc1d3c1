#include "ui/CTiskDlg.h"

#include <QPainter>
#include <QPrinter>

#include "print/CPrintCollection.h"
#include "print/SheetPainter.h"
#include "print/CCopyCheckPainter.h"
#include "ui/CDesktop.h"

CTiskDlg::CTiskDlg(CDesktop& printDesktop, QWidget* ownerWindow)
    : desktop(printDesktop), owner(ownerWindow) {}

int CTiskDlg::PrintCollection(const QString& path) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    if (!desktop.ChoosePrinter(printer, owner)) {
        return -1;
    }
    CPrintCollection collection(path.toStdString());
    return PrintSheets(collection, printer) ? 0 : -1;
}

int CTiskDlg::PrintCopyCheck(const CCopyCheckPainter& picture, const QStringList& heading) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!desktop.ChoosePrinter(printer, owner)) {
        return -1;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return -1;
    }
    const QRect page = painter.viewport();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(8, page.height() / 45));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font);
    int y = metrics.ascent();
    for (const QString& line : heading) {
        painter.drawText(0, y, line);
        y += metrics.height();
    }
    y += metrics.height();
    picture.Paint(painter, QRect(0, y, page.width(), page.height() - y), true);
    return painter.end() ? 0 : -1;
}
