#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cstdlib>

#include "app/MachineParts.h"
#include "config/CProgramFiles.h"
#include "config/ProgramFolder.h"
#include "print/Contrast.h"
#include "session/RecordFiles.h"
#include "ui/CMorseDlg.h"

namespace {

int terminationPipe[2] = {-1, -1};

void OnTermination(int) {
    const char signalled = 1;
    // Only the write end of a pipe: async-signal-safe.
    [[maybe_unused]] const auto written = write(terminationPipe[1], &signalled, 1);
}

// The folder with the help page and the shipped language set: beside the executable in the build
// tree, ../share/brumlo when installed.
QString ResourceFolder() {
    const QString beside = QCoreApplication::applicationDirPath();
    if (QFileInfo::exists(beside + QStringLiteral("/jazyk"))) {
        return beside;
    }
    return QDir::cleanPath(beside + QStringLiteral("/../share/brumlo"));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brumlo"));
    QApplication::setPalette(WithReadableDisabledText(QApplication::palette()));

    DialogEnvironment environment;
    AddMachineParts(environment);
    if (const auto folder = SetUpProgramFolder(
            QDir::currentPath().toStdString(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
            (ResourceFolder() + QStringLiteral("/jazyk")).toStdString())) {
        environment.programFolder = QString::fromStdString(*folder);
    }
    environment.records = std::make_shared<const RecordFiles>(
        CProgramFiles(environment.programFolder.value_or(QDir::currentPath()).toStdString()));
    environment.helpPage = ResourceFolder() + QStringLiteral("/brumlo.html");
    CMorseDlg dialog(std::move(environment));

    // A desktop that ends the session (or a terminal's Ctrl+C) closes the window as the user
    // would, so that the settings are saved.
    if (pipe(terminationPipe) == 0) {
        struct sigaction action {};
        action.sa_handler = OnTermination;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
        auto* notifier = new QSocketNotifier(terminationPipe[0], QSocketNotifier::Read, &dialog);
        QObject::connect(notifier, &QSocketNotifier::activated, &dialog, [&dialog] {
            char signalled = 0;
            [[maybe_unused]] const auto got = read(terminationPipe[0], &signalled, 1);
            dialog.close();
        });
    }
    dialog.showMaximized();
    return QApplication::exec();
}
