#include "ui/CMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/Messages.h"

CMessageBoxes::~CMessageBoxes() = default;

void CQtMessageBoxes::Show(Icon icon, const QString& caption, const QString& text, QWidget* owner) {
    QMessageBox box(icon == Icon::Error ? QMessageBox::Critical : QMessageBox::Warning, caption,
                    text, QMessageBox::Ok, owner);
    box.exec();
}

std::unique_ptr<QMessageBox> CQtMessageBoxes::Question(const QString& caption, const QString& text,
                                                       QWidget* owner) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, caption, text,
                                             QMessageBox::Yes | QMessageBox::No, owner);
    box->button(QMessageBox::Yes)->setText(messages::Yes());
    box->button(QMessageBox::No)->setText(messages::No());
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

bool CQtMessageBoxes::Ask(const QString& caption, const QString& text, QWidget* owner) {
    return Question(caption, text, owner)->exec() == QMessageBox::Yes;
}
