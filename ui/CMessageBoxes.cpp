#include "ui/CMessageBoxes.h"

#include <QMessageBox>

CMessageBoxes::~CMessageBoxes() = default;

void CQtMessageBoxes::Show(Icon icon, const QString& caption, const QString& text, QWidget* owner) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                    text, QMessageBox::Ok, owner);
    box.exec();
}

bool CQtMessageBoxes::Ask(const QString& caption, const QString& text, QWidget* owner) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}
