#pragma once

#include <QDialog>

class QLabel;

// "O aplikaci Brumlo": the program's icon, product line, author, thanks and contact.
// User-interface thread only.
class CInfoDlg : public QDialog {
    Q_OBJECT

public:
    CInfoDlg(const QString& languageFile, QWidget* parent = nullptr);

    QLabel* ThanksHeading() const { return thanksHeading; }

private:
    QLabel* thanksHeading = nullptr;
    QLabel* contact = nullptr;
};
