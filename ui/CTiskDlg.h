#pragma once

#include <QString>

class CDesktop;
class QWidget;

// One print job of the collected texts: asks for the printer (or PDF file) through the desktop's
// print dialog and prints the numbered sheets. User-interface thread only.
class CTiskDlg {
public:
    CTiskDlg(CDesktop& desktop, QWidget* owner);

    // 0 after a job, -1 when the dialog was cancelled or the job could not start.
    int PrintCollection(const QString& path);

private:
    CDesktop& desktop;
    QWidget* owner;
};
