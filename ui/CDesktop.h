#pragma once

#include <QString>

class QFileDialog;
class QPrinter;
class QWidget;

// Sets up a file dialog for opening or saving texts: a ".txt" filter with ".txt" as the default
// suffix, and an all-files filter that lists every file, also names without a dot.
void SetUpTextFileDialog(QFileDialog& dialog, bool open);

// The desktop's file dialogs and browser, behind an interface so that tests can answer them.
// Called on the user-interface thread.
class CDesktop {
public:
    virtual ~CDesktop();
    // The chosen file, or an empty string when the user cancels.
    virtual QString OpenFileName(QWidget* owner, const QString& folder) = 0;
    virtual QString SaveFileName(QWidget* owner, const QString& folder) = 0;
    // The file to save a sound in (".wav"), or an empty string when the user cancels.
    virtual QString SaveSoundFileName(QWidget* owner, const QString& folder) = 0;
    // Opens a local HTML page in the desktop's browser; false when that fails.
    virtual bool OpenHelp(const QString& path) = 0;
    // The print dialog: sets up `printer` (a real printer or a PDF file); false when cancelled.
    virtual bool ChoosePrinter(QPrinter& printer, QWidget* owner) = 0;
};

// QFileDialog with the text-file filters, and QDesktopServices.
class CQtDesktop : public CDesktop {
public:
    QString OpenFileName(QWidget* owner, const QString& folder) override;
    QString SaveFileName(QWidget* owner, const QString& folder) override;
    QString SaveSoundFileName(QWidget* owner, const QString& folder) override;
    bool OpenHelp(const QString& path) override;
    bool ChoosePrinter(QPrinter& printer, QWidget* owner) override;
};
