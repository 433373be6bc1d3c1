#include "ui/CTiskDlg.h"

#include <QPrinter>

#include "print/CPrintCollection.h"
#include "print/SheetPainter.h"
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
