#pragma once

#include <QStringList>

#include "session/CTiskModel.h"

class CCopyCheckPainter;
class CDesktop;
class QWidget;

// One print job, rendering its model: asks for the printer (or PDF file) through the desktop's
// print dialog and prints the numbered sheets of the collected texts, or a checked copy.
// User-interface thread only.
class CTiskDlg {
public:
    CTiskDlg(CTiskModel model, CDesktop& desktop, QWidget* owner);

    // The collected texts. 0 after a job, -1 when there was nothing to print, the dialog was
    // cancelled or the job could not start.
    int PrintCollection();
    // A checked copy under the lines of `heading`; 0 after the job, -1 when cancelled or when
    // the job could not start.
    int PrintCopyCheck(const CCopyCheckPainter& picture, const QStringList& heading);

private:
    bool ChoosePrinter(class QPrinter& printer);

    CTiskModel model;
    CDesktop& desktop;
    QWidget* owner;
};
