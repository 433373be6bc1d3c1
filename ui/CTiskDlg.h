#pragma once

#include <QString>
#include <QStringList>

class CCopyCheckPainter;
class CDesktop;
class QWidget;

// One print job: asks for the printer (or PDF file) through the desktop's print dialog and prints
// the numbered sheets of the collected texts, or a checked copy. User-interface thread only.
class CTiskDlg {
public:
    CTiskDlg(CDesktop& desktop, QWidget* owner);

    // 0 after a job, -1 when the dialog was cancelled or the job could not start.
    int PrintCollection(const QString& path);
    // A checked copy on one page in black and white, under the lines of `heading`; 0 after the
    // job, -1 when cancelled or when the job could not start.
    int PrintCopyCheck(const CCopyCheckPainter& picture, const QStringList& heading);

private:
    CDesktop& desktop;
    QWidget* owner;
};
