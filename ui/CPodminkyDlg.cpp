#include "ui/CPodminkyDlg.h"

#include <QCheckBox>
#include <QComboBox>
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

namespace {

enum Caption {
    kTitle,
    kNoiseText,
    kSnr,
    kFilter,
    kFadingText,
    kFadingDepth,
    kFadingPeriod,
    kStaticText,
    kStaticRate,
    kInterferenceText,
    kStations,
    kChirpText,
    kChirpHz,
    kClicksText,
    kFist,
    kFistNone,
    kFistGoodHand,
    kFistStraightKey,
    kFistBug,
    kSeed,
    kFixedSeed,
    kNote,
    kDefaults,
    kOk,
    kCancel,
};

// The most digits of a seed (2^64 - 1 has 20).

}  // namespace

QStringList CPodminkyDlg::CzechCaptions() {
    return {QStringLiteral("Podmínky příjmu"),
            QStringLiteral("Š&um"),
            QStringLiteral("Odstup signálu od šumu v pásmu 500 Hz (dB):"),
            QStringLiteral("Šířka &filtru přijímače (Hz):"),
            QStringLiteral("Úni&k (QSB)"),
            QStringLiteral("Hloubka úniku (%):"),
            QStringLiteral("Perioda úniku (s):"),
            QStringLiteral("&Praskání (QRN)"),
            QStringLiteral("Výbojů za minutu:"),
            QStringLiteral("&Rušení jinými stanicemi (QRM)"),
            QStringLiteral("Počet stanic:"),
            QStringLiteral("&Chirp"),
            QStringLiteral("Posun tónu na začátku značky (Hz):"),
            QStringLiteral("K&liksy klíčování"),
            QStringLiteral("Rukop&is:"),
            QStringLiteral("žádný (přesný model)"),
            QStringLiteral("dobrá ruka"),
            QStringLiteral("špatný ruční klíč"),
            QStringLiteral("bug (strojové tečky, ruční čárky)"),
            QStringLiteral("Se&mínko:"),
            QStringLiteral("Pe&vné semínko (jinak nové pro každé vysílání)"),
            QStringLiteral("Šum, únik, praskání a rušení zní ze zvukové karty a ve zvukových "
                           "souborech; rukopis platí pro každý výstup."),
            QStringLiteral("Výcho&zí"),
            QStringLiteral("&OK"),
            QStringLiteral("&Storno")};
}

CPodminkyDlg::CPodminkyDlg(const ReceptionSettings& initial, const QString& languageFile,
                           QWidget* parent)
    : QDialog(parent),
      model(initial),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
    auto* grid = new QGridLayout;
    int row = 0;
    // A field with its label, which names it for a screen reader and carries its mnemonic.
    const auto field = [this, grid, &row](const QString& caption, QWidget* widget) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(widget);
        widget->setAccessibleName(SpokenLabel(caption));
        grid->addWidget(label, row, 1);
        grid->addWidget(widget, row, 2);
        ++row;
    };
    const auto spin = [this](int low, int high, int step = 1) {
        auto* box = new QSpinBox(this);
        box->setRange(low, high);
        box->setSingleStep(step);
        return box;
    };
    const auto condition = [this, grid, &row](Condition which, Caption caption) {
        auto* box = new QCheckBox(captions[caption], this);
        box->setAccessibleName(SpokenLabel(captions[caption]));
        switches[which] = box;
        grid->addWidget(box, row, 0, 1, 3, Qt::AlignLeft);
        ++row;
    };

    condition(CPodminkyModel::kNoise, kNoiseText);
    snrSpin = spin(ReceptionSettings::kLowestSnrDb, ReceptionSettings::kHighestSnrDb);
    field(captions[kSnr], snrSpin);
    filterSpin =
        spin(ReceptionSettings::kNarrowestFilterHz, ReceptionSettings::kWidestFilterHz, 50);
    field(captions[kFilter], filterSpin);
    condition(CPodminkyModel::kFading, kFadingText);
    fadingDepthSpin = spin(0, 100, 5);
    field(captions[kFadingDepth], fadingDepthSpin);
    fadingPeriodSpin =
        spin(ReceptionSettings::kShortestFadingSeconds, ReceptionSettings::kLongestFadingSeconds);
    field(captions[kFadingPeriod], fadingPeriodSpin);
    condition(CPodminkyModel::kStatic, kStaticText);
    staticRateSpin =
        spin(ReceptionSettings::kLowestStaticRate, ReceptionSettings::kHighestStaticRate, 5);
    field(captions[kStaticRate], staticRateSpin);
    condition(CPodminkyModel::kInterference, kInterferenceText);
    stationsSpin = spin(0, ReceptionSettings::kMostStations);
    field(captions[kStations], stationsSpin);
    condition(CPodminkyModel::kChirp, kChirpText);
    chirpSpin = spin(0, ReceptionSettings::kHighestChirpHz, 10);
    field(captions[kChirpHz], chirpSpin);
    condition(CPodminkyModel::kClicks, kClicksText);

    fistList = new QComboBox(this);
    fistList->addItems({captions[kFistNone], captions[kFistGoodHand], captions[kFistStraightKey],
                        captions[kFistBug]});
    field(captions[kFist], fistList);
    seedEdit = new QLineEdit(this);
    seedEdit->setMaxLength(CPodminkyModel::kSeedDigits);
    seedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(CPodminkyModel::kSeedDigits)),
        seedEdit));
    field(captions[kSeed], seedEdit);
    fixedSeedBox = new QCheckBox(captions[kFixedSeed], this);
    fixedSeedBox->setAccessibleName(SpokenLabel(captions[kFixedSeed]));
    grid->addWidget(fixedSeedBox, row, 0, 1, 3, Qt::AlignLeft);
    ++row;
    // The check boxes stand out to the left of the fields that belong to them.
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(2, 1);

    noteLabel = new QLabel(captions[kNote], this);
    noteLabel->setWordWrap(true);
    defaultsButton = new QPushButton(captions[kDefaults], this);
    defaultsButton->setAutoDefault(false);
    okButton = new QPushButton(captions[kOk], this);
    okButton->setDefault(true);
    cancelButton = new QPushButton(captions[kCancel], this);
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
        connect(ValueSpin(value), &QSpinBox::valueChanged, this,
                act([this, value](int number) { model.SetValue(value, number); }));
    }
    connect(fistList, &QComboBox::currentIndexChanged, this,
            act([this](int index) { model.ChooseFist(index); }));
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
    QSpinBox* const spins[CPodminkyModel::kValueCount] = {
        snrSpin,        filterSpin,   fadingDepthSpin, fadingPeriodSpin,
        staticRateSpin, stationsSpin, chirpSpin};
    return spins[value];
}

void CPodminkyDlg::Render() {
    const CPodminkyModel::View view = model.GetView();
    rendering = true;
    for (int k = 0; k < kConditionCount; ++k) {
        switches[k]->setChecked(view.on[k]);
    }
    for (int k = 0; k < CPodminkyModel::kValueCount; ++k) {
        QSpinBox* spin = ValueSpin(static_cast<CPodminkyModel::Value>(k));
        spin->setValue(view.values[k]);
        spin->setEnabled(view.valueEnabled[k]);
    }
    fistList->setCurrentIndex(static_cast<int>(view.settings.fist));
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
