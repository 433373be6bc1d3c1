#include <QApplication>

#include "ui/CMorseDlg.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brumlo"));
    CMorseDlg dialog;
    dialog.showMaximized();
    return QApplication::exec();
}
