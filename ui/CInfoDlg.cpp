#include "ui/CInfoDlg.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "ui/DialogUnits.h"
#include "ui/LanguageCaptions.h"

CInfoDlg::CInfoDlg(const QString& languageFile, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("O aplikaci Brumlo"));
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 208, 137).size());
    auto* icon = new QLabel(this);
    const QRect iconRect = units.Rect(7, 17, 20, 20);
    icon->setGeometry(iconRect);
    icon->setPixmap(QIcon(QStringLiteral(":/brumlo/icon.png")).pixmap(iconRect.size()));
    const auto label = [this, &units](const QString& text, QRect rect, bool centred = false) {
        auto* line = new QLabel(text, this);
        line->setGeometry(rect);
        line->setWordWrap(true);
        line->setTextFormat(Qt::PlainText);
        if (centred) {
            line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        return line;
    };
    label(QStringLiteral("Vivadov"), units.Rect(39, 17, 119, 9));
    label(QStringLiteral("Autor: Jan Brumla"), units.Rect(39, 30, 119, 9));
    thanksHeading = label(QStringLiteral("Poděkování patří především těmto osobám:"),
                          units.Rect(7, 51, 194, 15));
    label(QStringLiteral("Petr Novák"), units.Rect(53, 69, 101, 9), true);
    label(QStringLiteral("Marie Svobodová"), units.Rect(53, 80, 101, 9), true);
    contact = label(QStringLiteral("Vaše připomínky a náměty uvítáme na adrese brumlo@example.cz"),
                    units.Rect(7, 100, 194, 24));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(units.Rect(151, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (!languageFile.isEmpty()) {
        if (const auto texts = ReadCaptions(languageFile, 3)) {
            setWindowTitle(texts->at(0));
            thanksHeading->setText(texts->at(1));
            contact->setText(texts->at(2));
        }
    }
}
