#include "ui/CDesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace {

QString ChooseFile(QWidget* owner, const QString& folder, bool open) {
    QFileDialog dialog(owner, QString(), folder);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(
        {QStringLiteral("Textové soubory (*.txt)"), QStringLiteral("Všechny soubory (*.*)")});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // A save dialog asks before it overwrites an existing file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace

CDesktop::~CDesktop() = default;

QString CQtDesktop::OpenFileName(QWidget* owner, const QString& folder) {
    return ChooseFile(owner, folder, true);
}

QString CQtDesktop::SaveFileName(QWidget* owner, const QString& folder) {
    return ChooseFile(owner, folder, false);
}

bool CQtDesktop::OpenHelp(const QString& path) {
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool CQtDesktop::ChoosePrinter(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    // Page ranges and a selection have no meaning here: the whole collection is printed.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}
