#include "ui/CVystupDlg.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "core/OutputKind.h"
#include "ui/Accessibility.h"
#include "ui/DialogUnits.h"
#include "ui/LanguageCaptions.h"

CVystupDlg::CVystupDlg(CMorseSession& morseSession, const QString& languageFile,
                       const QStringList& ports, QWidget* parent)
    : QDialog(parent), model(morseSession, [&ports] {
          std::vector<std::string> names;
          for (const QString& port : ports) {
              names.push_back(port.toStdString());
          }
          return names;
      }()) {
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
        connect(kindButtons[kind], &QRadioButton::clicked, this, [this, kind] {
            model.ChooseKind(kind);
            Render();
        });
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
    connect(portList, &QComboBox::activated, this, [this](int index) {
        model.ChoosePort(index);
        Render();
    });

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
    // A caption longer than its place (the speaker's, in Czech) widens the choices, their frame
    // and the window, and moves the buttons along.
    int wider = 0;
    for (const QRadioButton* button : kindButtons) {
        wider = std::max(wider, button->sizeHint().width() - button->width());
    }
    if (wider > 0) {
        for (QRadioButton* button : kindButtons) {
            button->resize(button->width() + wider, button->height());
        }
        frame->resize(frame->width() + wider, frame->height());
        for (QPushButton* button : {okButton, cancelButton}) {
            button->move(button->x() + wider, button->y());
        }
        setFixedSize(width() + wider, height());
    }
    // The port list belongs to the serial port's choice, and is named by it.
    portList->setAccessibleName(SpokenCaption(kindButtons[kSerialPortOutput]->text()));

    portList->addItems(ports);
    Render();
    // The focus starts on the output in use, so that a reader says it first.
    if (QRadioButton* chosen = KindButton(model.GetView().kind)) {
        chosen->setFocus();
    }
}

QRadioButton* CVystupDlg::KindButton(int kind) const {
    return kind >= 0 && kind <= 2 ? kindButtons[kind] : nullptr;
}

void CVystupDlg::Render() {
    const CVystupModel::View view = model.GetView();
    if (QRadioButton* chosen = KindButton(view.kind)) {
        chosen->setChecked(true);
    }
    portList->setCurrentIndex(view.portIndex);
    portList->setEnabled(view.portEnabled);
}

void CVystupDlg::OnOk() {
    if (model.Accept()) {
        accept();
    }
}
