#include "ui/CKlicovaniDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "ui/Accessibility.h"
#include "ui/LanguageCaptions.h"

using C = CKlicovaniModel;

QStringList CKlicovaniDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CKlicovaniDlg::CKlicovaniDlg(const KeyingSettings& settings, std::vector<std::string> ports,
                             const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(settings, std::move(ports)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kTitle]);
    auto* form = new QFormLayout;
    // A list with its label, which names it for a screen reader and carries its mnemonic.
    const auto list = [this, form](C::Caption caption, const QStringList& items) {
        auto* box = new QComboBox(this);
        box->addItems(items);
        auto* label = new QLabel(captions[caption], this);
        NameFromLabel(*label, *box);
        form->addRow(label, box);
        return box;
    };
    inputList = list(C::kInput, {captions[C::kInputKeyboard], captions[C::kInputMouse],
                                 captions[C::kInputSerial]});
    modeList = list(C::kMode, {captions[C::kModeStraight], captions[C::kModeIambicA],
                               captions[C::kModeIambicB]});
    QStringList keys;
    for (int k = C::kKeyLeftControl; k <= C::kKeyX; ++k) {
        keys << captions[k];
    }
    straightKeyList = list(C::kStraightKey, keys);
    dotKeyList = list(C::kDotKey, keys);
    dashKeyList = list(C::kDashKey, keys);
    portList = list(C::kPort, {});
    swapBox = new QCheckBox(captions[C::kSwap], this);
    swapBox->setAccessibleName(SpokenLabel(captions[C::kSwap]));
    form->addRow(swapBox);
    sidetoneBox = new QCheckBox(captions[C::kSidetone], this);
    sidetoneBox->setAccessibleName(SpokenLabel(captions[C::kSidetone]));
    form->addRow(sidetoneBox);
    speakerBox = new QCheckBox(captions[C::kSpeakerSidetone], this);
    speakerBox->setAccessibleName(SpokenLabel(captions[C::kSpeakerSidetone]));
    form->addRow(speakerBox);
    auto* note = new QLabel(captions[C::kNote], this);
    note->setWordWrap(true);
    okButton = new QPushButton(captions[C::kOk], this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(captions[C::kCancel], this);
    cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(note);
    column->addLayout(buttons);

    const auto act = [this](QComboBox* box, void (C::*choose)(int)) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, choose](int index) {
            if (!rendering) {
                (model.*choose)(index);
                Render();
            }
        });
    };
    act(inputList, &C::ChooseInput);
    act(modeList, &C::ChooseMode);
    act(straightKeyList, &C::ChooseStraightKey);
    act(dotKeyList, &C::ChooseDotKey);
    act(dashKeyList, &C::ChooseDashKey);
    act(portList, &C::ChoosePort);
    connect(swapBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering) {
            model.SetSwap(on);
            Render();
        }
    });
    connect(sidetoneBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering) {
            model.SetSidetone(on);
            Render();
        }
    });
    connect(speakerBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering) {
            model.SetSpeakerSidetone(on);
            Render();
        }
    });
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Render();
    resize(std::max(520, sizeHint().width()), sizeHint().height());
}

void CKlicovaniDlg::Render() {
    const C::View view = model.GetView();
    rendering = true;
    inputList->setCurrentIndex(static_cast<int>(view.settings.input));
    modeList->setCurrentIndex(static_cast<int>(view.settings.mode));
    straightKeyList->setCurrentIndex(view.straightKey);
    dotKeyList->setCurrentIndex(view.dotKey);
    dashKeyList->setCurrentIndex(view.dashKey);
    straightKeyList->setEnabled(view.straightKeyEnabled);
    dotKeyList->setEnabled(view.leversEnabled);
    dashKeyList->setEnabled(view.leversEnabled);
    QStringList ports;
    for (const std::string& port : view.ports) {
        ports << QString::fromStdString(port);
    }
    if (portList->count() != ports.size()) {
        portList->clear();
        portList->addItems(ports);
    }
    portList->setCurrentIndex(view.port);
    portList->setEnabled(view.portEnabled);
    swapBox->setChecked(view.settings.swapLines);
    swapBox->setEnabled(view.portEnabled);
    sidetoneBox->setChecked(view.settings.sidetone);
    speakerBox->setChecked(view.settings.speakerSidetone);
    rendering = false;
}
