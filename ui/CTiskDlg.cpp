#include "ui/CTiskDlg.h"

#include <QPainter>
#include <QPrinter>

#include "print/CCopyCheckPainter.h"
#include "print/CPrintCollection.h"
#include "print/SheetPainter.h"
#include "ui/CDesktop.h"

CTiskDlg::CTiskDlg(CTiskModel printModel, CDesktop& printDesktop, QWidget* ownerWindow)
    : model(std::move(printModel)), desktop(printDesktop), owner(ownerWindow) {}

bool CTiskDlg::ChoosePrinter(QPrinter& printer) {
    const CTiskModel::View view = model.GetView();
    printer.setCopyCount(view.copies);
    printer.setCollateCopies(view.collate);
    printer.setPageOrientation(view.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return desktop.ChoosePrinter(printer, owner);
}

int CTiskDlg::PrintCollection() {
    int result = -1;
    if (const std::optional<std::string> path = model.Begin()) {
        QPrinter printer(QPrinter::HighResolution);
        if (ChoosePrinter(printer)) {
            CPrintCollection collection(*path);
            result = PrintSheets(collection, printer) ? 0 : -1;
        }
    }
    model.Finish();
    return result;
}

int CTiskDlg::PrintCopyCheck(const CCopyCheckPainter& picture, const QStringList& heading) {
    QPrinter printer(QPrinter::HighResolution);
    if (!ChoosePrinter(printer)) {
        return -1;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return -1;
    }
    const QRect page = painter.viewport();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(CTiskModel::HeadingPixelSize(page.height()));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(font);
    const CTiskModel::HeadingPlacement placement =
        CTiskModel::Heading(static_cast<int>(heading.size()), metrics.ascent(), metrics.height());
    for (qsizetype k = 0; k < heading.size(); ++k) {
        painter.drawText(0, placement.baselines[static_cast<std::size_t>(k)], heading[k]);
    }
    const int top = placement.pictureTop;
    picture.Paint(painter, QRect(0, top, page.width(), page.height() - top), true);
    return painter.end() ? 0 : -1;
}
