#include "ui/CDesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include "ui/Messages.h"

namespace {

QString ChooseFile(QWidget* owner, const QString& folder, bool open) {
    QFileDialog dialog(owner, QString(), folder);
    SetUpTextFileDialog(dialog, open);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
}

}  // namespace

void SetUpTextFileDialog(QFileDialog& dialog, bool open) {
    // The dialog's own list is used everywhere, so that the all-files filter below holds.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QString allFiles = messages::AllFilesFilter();
    dialog.setNameFilters({messages::TextFilesFilter(), allFiles});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // A save dialog asks before it overwrites an existing file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    // "*.*" matches only names with a dot here; the caption promises every file, so the list
    // drops its name filter whenever that entry is chosen (after the dialog has applied it).
    auto* files = dialog.findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    if (files == nullptr) {
        return;
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, files,
                     [files, allFiles](const QString& filter) {
                         if (filter == allFiles) {
                             files->setNameFilters({QStringLiteral("*")});
                         }
                     });
}

CDesktop::~CDesktop() = default;

QString CQtDesktop::OpenFileName(QWidget* owner, const QString& folder) {
    return ChooseFile(owner, folder, true);
}

QString CQtDesktop::SaveFileName(QWidget* owner, const QString& folder) {
    return ChooseFile(owner, folder, false);
}

QString CQtDesktop::SaveSoundFileName(QWidget* owner, const QString& folder) {
    QFileDialog dialog(owner, QString(), folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // WAV first, as always; the other formats' names are the same in every language. The
    // chosen type gives a name typed without an extension its suffix, which chooses the format.
    const QStringList suffixes{QStringLiteral("wav"), QStringLiteral("flac"), QStringLiteral("ogg"),
                               QStringLiteral("opus"), QStringLiteral("mp3")};
    const QStringList filters{messages::SoundFilesFilter(), QStringLiteral("FLAC (*.flac)"),
                              QStringLiteral("Ogg Vorbis (*.ogg)"),
                              QStringLiteral("Ogg Opus (*.opus)"), QStringLiteral("MP3 (*.mp3)")};
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(suffixes.first());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, &filters, &suffixes](const QString& filter) {
                         const qsizetype index = filters.indexOf(filter);
                         dialog.setDefaultSuffix(suffixes.value(index, suffixes.first()));
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().first();
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
