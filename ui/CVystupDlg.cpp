#include "ui/CVystupDlg.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/OutputKind.h"
#include "session/CMorseSession.h"
#include "ui/Accessibility.h"
#include "ui/DialogUnits.h"
#include "ui/LanguageCaptions.h"

CVystupDlg::CVystupDlg(CMorseSession& morseSession, const QString& languageFile,
                       const QStringList& ports, QWidget* parent)
    : QDialog(parent), session(morseSession), portNames(ports) {
    setWindowTitle(QStringLiteral("Nastavení výstupu"));
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 201, 124).size());
    frame = new QGroupBox(QStringLiteral("Výstupy"), this);
    frame->setGeometry(units.Rect(19, 18, 110, 89));
    const QString captions[3] = {QStringLiteral("Systémový reproduktor"),
                                 QStringLiteral("Zvuková karta"), QStringLiteral("Sériový port")};
    const int rows[3] = {36, 52, 68};
    for (int kind = 0; kind < 3; ++kind) {
        kindButtons[kind] = new QRadioButton(captions[kind], this);
        kindButtons[kind]->setGeometry(units.Rect(27, rows[kind], 95, 12));
        connect(kindButtons[kind], &QRadioButton::clicked, this, [this, kind] { OnKind(kind); });
    }
    portList = new QComboBox(this);
    portList->setGeometry(units.Rect(57, 82, 64, 14));
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setGeometry(units.Rect(144, 7, 50, 14));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("&Storno"), this);
    cancelButton->setGeometry(units.Rect(144, 24, 50, 14));
    connect(okButton, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(portList, &QComboBox::activated, this, [this] { OnPortChange(); });

    if (!languageFile.isEmpty()) {
        if (const auto texts = ReadCaptions(languageFile, 7)) {
            setWindowTitle(texts->at(0));
            frame->setTitle(texts->at(1));
            for (int kind = 0; kind < 3; ++kind) {
                kindButtons[kind]->setText(texts->at(2 + kind));
            }
            okButton->setText(texts->at(5));
            cancelButton->setText(texts->at(6));
        }
    }
    // The port list belongs to the serial port's choice, and is named by it.
    portList->setAccessibleName(SpokenCaption(kindButtons[kSerialPortOutput]->text()));

    selectedKind = session.OutputInUse();
    portList->addItems(portNames);
    portList->setCurrentIndex(0);
    portList->setEnabled(false);
    if (selectedKind == kSerialPortOutput) {
        portList->setEnabled(true);
        portIndex =
            static_cast<int>(portNames.lastIndexOf(QString::fromStdString(session.PortName())));
        if (portIndex < 0) {
            portIndex = 0;
        }
        selectedPort = portNames.value(portIndex);
        portList->setCurrentIndex(portIndex);
    }
    if (selectedKind >= 0 && selectedKind <= 2) {
        kindButtons[selectedKind]->setChecked(true);
    }
}

QRadioButton* CVystupDlg::KindButton(int kind) const {
    return kind >= 0 && kind <= 2 ? kindButtons[kind] : nullptr;
}

void CVystupDlg::OnKind(int kind) {
    selectedKind = kind;
    portList->setEnabled(kind == kSerialPortOutput);
    if (kind == kSerialPortOutput) {
        selectedPort = portNames.value(portIndex);
    }
}

void CVystupDlg::OnPortChange() {
    portIndex = portList->currentIndex();
    selectedPort = portNames.value(portIndex);
}

void CVystupDlg::OnOk() {
    if (session.ChooseOutput(selectedKind, selectedPort.toStdString())) {
        accept();
    }
}
