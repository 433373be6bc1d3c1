#include "ui/CPodminkyDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "ui/Accessibility.h"
#include "ui/LanguageCaptions.h"

using C = CPodminkyModel;

QStringList CPodminkyDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CPodminkyDlg::CPodminkyDlg(const ReceptionSettings& initial, const QString& languageFile,
                           QWidget* parent)
    : QDialog(parent),
      model(initial),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kCaptionTitle]);
    auto* grid = new QGridLayout;
    int row = 0;
    // A field with its label, which names it for a screen reader and carries its mnemonic; a
    // condition's field stands under its switch, one of the whole receiver stands out with them.
    const auto field = [this, grid, &row](const QString& caption, QWidget* widget,
                                          bool ofCondition = true) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(widget);
        widget->setAccessibleName(SpokenLabel(caption));
        grid->addWidget(label, row, ofCondition ? 1 : 0, 1, ofCondition ? 1 : 2);
        grid->addWidget(widget, row, 2);
        ++row;
    };
    const auto decimal = [this](double low, double high, int decimals, double step) {
        auto* box = new QDoubleSpinBox(this);
        box->setRange(low, high);
        box->setDecimals(decimals);
        box->setSingleStep(step);
        return box;
    };
    const auto spin = [this](int low, int high, int step = 1) {
        auto* box = new QSpinBox(this);
        box->setRange(low, high);
        box->setSingleStep(step);
        return box;
    };
    // A condition's switch; one that refines the condition above it stands beside that one's
    // fields.
    const auto condition = [this, grid, &row](Condition which, C::Caption caption,
                                              bool refines = false) {
        auto* box = new QCheckBox(captions[caption], this);
        box->setAccessibleName(SpokenLabel(captions[caption]));
        switches[which] = box;
        grid->addWidget(box, row, refines ? 1 : 0, 1, refines ? 2 : 3, Qt::AlignLeft);
        ++row;
    };

    filterSpin =
        spin(ReceptionSettings::kNarrowestFilterHz, ReceptionSettings::kWidestFilterHz, 50);
    field(captions[C::kCaptionFilter], filterSpin, false);
    agcList = new QComboBox(this);
    agcList->addItems(
        {captions[C::kCaptionAgcOff], captions[C::kCaptionAgcFast], captions[C::kCaptionAgcSlow]});
    field(captions[C::kCaptionAgc], agcList, false);
    condition(CPodminkyModel::kNoise, C::kCaptionNoiseText);
    snrSpin = spin(ReceptionSettings::kLowestSnrDb, ReceptionSettings::kHighestSnrDb);
    field(captions[C::kCaptionSnr], snrSpin);
    condition(CPodminkyModel::kFading, C::kCaptionFadingText);
    fadingDepthSpin = spin(0, 100, 5);
    field(captions[C::kCaptionFadingDepth], fadingDepthSpin);
    fadingPresetList = new QComboBox(this);
    fadingPresetList->addItems(
        {captions[C::kCaptionPresetQuiet], captions[C::kCaptionPresetModerate],
         captions[C::kCaptionPresetDisturbed], captions[C::kCaptionPresetFlutter],
         captions[C::kCaptionPresetOwn]});
    field(captions[C::kCaptionFadingPreset], fadingPresetList);
    fadingSpreadSpin = decimal(ReceptionSettings::kLeastSpreadCentihertz / 100.0,
                               ReceptionSettings::kMostSpreadCentihertz / 100.0, 2, 0.05);
    field(captions[C::kCaptionFadingSpread], fadingSpreadSpin);
    pathDelaySpin = decimal(0.0, ReceptionSettings::kLongestPathDelayMicroseconds / 1000.0, 1, 0.1);
    field(captions[C::kCaptionPathDelay], pathDelaySpin);
    condition(CPodminkyModel::kStatic, C::kCaptionStaticText);
    staticRateSpin =
        spin(ReceptionSettings::kLowestStaticRate, ReceptionSettings::kHighestStaticRate, 5);
    field(captions[C::kCaptionStaticRate], staticRateSpin);
    condition(CPodminkyModel::kInterference, C::kCaptionInterferenceText);
    stationsSpin = spin(0, ReceptionSettings::kMostStations);
    field(captions[C::kCaptionStations], stationsSpin);
    condition(CPodminkyModel::kZeroBeat, C::kCaptionZeroBeatText, true);
    condition(CPodminkyModel::kPileUp, C::kCaptionPileUpText, true);
    condition(CPodminkyModel::kChirp, C::kCaptionChirpText);
    chirpSpin = spin(0, ReceptionSettings::kHighestChirpHz, 10);
    field(captions[C::kCaptionChirpHz], chirpSpin);
    condition(CPodminkyModel::kClicks, C::kCaptionClicksText);

    fistList = new QComboBox(this);
    fistList->addItems({captions[C::kCaptionFistNone], captions[C::kCaptionFistGoodHand],
                        captions[C::kCaptionFistStraightKey], captions[C::kCaptionFistBug]});
    field(captions[C::kCaptionFist], fistList, false);
    seedEdit = new QLineEdit(this);
    seedEdit->setMaxLength(CPodminkyModel::kSeedDigits);
    seedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(CPodminkyModel::kSeedDigits)),
        seedEdit));
    field(captions[C::kCaptionSeed], seedEdit, false);
    fixedSeedBox = new QCheckBox(captions[C::kCaptionFixedSeed], this);
    fixedSeedBox->setAccessibleName(SpokenLabel(captions[C::kCaptionFixedSeed]));
    grid->addWidget(fixedSeedBox, row, 0, 1, 3, Qt::AlignLeft);
    ++row;
    // The check boxes stand out to the left of the fields that belong to them.
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(2, 1);

    noteLabel = new QLabel(captions[C::kCaptionNote], this);
    noteLabel->setWordWrap(true);
    defaultsButton = new QPushButton(captions[C::kCaptionDefaults], this);
    defaultsButton->setAutoDefault(false);
    okButton = new QPushButton(captions[C::kCaptionOk], this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(captions[C::kCaptionCancel], this);
    cancelButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(defaultsButton);
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(noteLabel);
    column->addLayout(buttons);

    // Each widget tells the model what the user did; the model's view is rendered after it.
    const auto act = [this](auto action) {
        return [this, action](auto... value) {
            if (!rendering) {
                action(value...);
                Render();
            }
        };
    };
    for (int k = 0; k < kConditionCount; ++k) {
        connect(switches[k], &QCheckBox::toggled, this,
                act([this, k](bool on) { model.SetCondition(static_cast<Condition>(k), on); }));
    }
    for (int k = 0; k < CPodminkyModel::kValueCount; ++k) {
        const auto value = static_cast<CPodminkyModel::Value>(k);
        if (QSpinBox* box = ValueSpin(value); box != nullptr) {
            connect(box, &QSpinBox::valueChanged, this,
                    act([this, value](int number) { model.SetValue(value, number); }));
        }
    }
    connect(fadingSpreadSpin, &QDoubleSpinBox::valueChanged, this,
            act([this](double hertz) { model.SetFadingSpreadHz(hertz); }));
    connect(pathDelaySpin, &QDoubleSpinBox::valueChanged, this,
            act([this](double milliseconds) { model.SetPathDelayMilliseconds(milliseconds); }));
    connect(fistList, &QComboBox::currentIndexChanged, this,
            act([this](int index) { model.ChooseFist(index); }));
    connect(fadingPresetList, &QComboBox::currentIndexChanged, this,
            act([this](int index) { model.ChooseFadingPreset(index); }));
    connect(agcList, &QComboBox::currentIndexChanged, this,
            act([this](int index) { model.ChooseAgc(index); }));
    connect(seedEdit, &QLineEdit::textChanged, this,
            act([this](const QString& text) { model.TypeSeed(text.toStdString()); }));
    connect(fixedSeedBox, &QCheckBox::toggled, this,
            act([this](bool fixed) { model.SetFixedSeed(fixed); }));
    connect(defaultsButton, &QPushButton::clicked, this, [this] { OnDefaults(); });
    connect(okButton, &QPushButton::clicked, this, [this] {
        model.Accept();
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Render();
    resize(std::max(560, sizeHint().width()), sizeHint().height());
}

QSpinBox* CPodminkyDlg::ValueSpin(CPodminkyModel::Value value) const {
    // The spread and the delay are shown in hertz and milliseconds, by fields of their own.
    QSpinBox* const spins[CPodminkyModel::kValueCount] = {snrSpin,      filterSpin, fadingDepthSpin,
                                                          nullptr,      nullptr,    staticRateSpin,
                                                          stationsSpin, chirpSpin};
    return spins[value];
}

void CPodminkyDlg::Render() {
    const CPodminkyModel::View view = model.GetView();
    rendering = true;
    for (int k = 0; k < kConditionCount; ++k) {
        switches[k]->setChecked(view.on[k]);
    }
    for (int k = 0; k < CPodminkyModel::kValueCount; ++k) {
        if (QSpinBox* spin = ValueSpin(static_cast<CPodminkyModel::Value>(k)); spin != nullptr) {
            spin->setValue(view.values[k]);
            spin->setEnabled(view.valueEnabled[k]);
        }
    }
    fadingSpreadSpin->setValue(view.fadingSpreadHz);
    fadingSpreadSpin->setEnabled(view.valueEnabled[CPodminkyModel::kFadingSpread]);
    pathDelaySpin->setValue(view.pathDelayMilliseconds);
    pathDelaySpin->setEnabled(view.valueEnabled[CPodminkyModel::kPathDelay]);
    fistList->setCurrentIndex(static_cast<int>(view.settings.fist));
    fadingPresetList->setCurrentIndex(view.fadingPreset);
    fadingPresetList->setEnabled(view.fadingPresetEnabled);
    agcList->setCurrentIndex(view.agc);
    agcList->setEnabled(view.agcEnabled);
    if (seedEdit->text().toStdString() != view.seed) {
        seedEdit->setText(QString::fromStdString(view.seed));
    }
    fixedSeedBox->setChecked(view.settings.fixedSeed);
    rendering = false;
}

void CPodminkyDlg::OnDefaults() {
    model.Defaults();
    Render();
}
