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
#include <charconv>
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
constexpr int kSeedDigits = 20;

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
      settings(initial),
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

    condition(kNoise, kNoiseText);
    snrSpin = spin(ReceptionSettings::kLowestSnrDb, ReceptionSettings::kHighestSnrDb);
    field(captions[kSnr], snrSpin);
    filterSpin =
        spin(ReceptionSettings::kNarrowestFilterHz, ReceptionSettings::kWidestFilterHz, 50);
    field(captions[kFilter], filterSpin);
    condition(kFading, kFadingText);
    fadingDepthSpin = spin(0, 100, 5);
    field(captions[kFadingDepth], fadingDepthSpin);
    fadingPeriodSpin =
        spin(ReceptionSettings::kShortestFadingSeconds, ReceptionSettings::kLongestFadingSeconds);
    field(captions[kFadingPeriod], fadingPeriodSpin);
    condition(kStatic, kStaticText);
    staticRateSpin =
        spin(ReceptionSettings::kLowestStaticRate, ReceptionSettings::kHighestStaticRate, 5);
    field(captions[kStaticRate], staticRateSpin);
    condition(kInterference, kInterferenceText);
    stationsSpin = spin(0, ReceptionSettings::kMostStations);
    field(captions[kStations], stationsSpin);
    condition(kChirp, kChirpText);
    chirpSpin = spin(0, ReceptionSettings::kHighestChirpHz, 10);
    field(captions[kChirpHz], chirpSpin);
    condition(kClicks, kClicksText);

    fistList = new QComboBox(this);
    fistList->addItems({captions[kFistNone], captions[kFistGoodHand], captions[kFistStraightKey],
                        captions[kFistBug]});
    field(captions[kFist], fistList);
    seedEdit = new QLineEdit(this);
    seedEdit->setMaxLength(kSeedDigits);
    seedEdit->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(kSeedDigits)), seedEdit));
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

    for (QCheckBox* box : switches) {
        connect(box, &QCheckBox::toggled, this, [this] {
            UpdateData(true);
            EnableFields();
        });
    }
    connect(defaultsButton, &QPushButton::clicked, this, [this] { OnDefaults(); });
    connect(okButton, &QPushButton::clicked, this, [this] {
        UpdateData(true);
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    UpdateData(false);
    resize(std::max(560, sizeHint().width()), sizeHint().height());
}

void CPodminkyDlg::UpdateData(bool toMembers) {
    struct Value {
        QSpinBox* spin;
        int* member;
    };
    const Value values[] = {{snrSpin, &settings.snrDb},
                            {filterSpin, &settings.filterHz},
                            {fadingDepthSpin, &settings.fadingDepthPercent},
                            {fadingPeriodSpin, &settings.fadingSeconds},
                            {staticRateSpin, &settings.staticPerMinute},
                            {stationsSpin, &settings.stations},
                            {chirpSpin, &settings.chirpHz}};
    bool* const flags[kConditionCount] = {&settings.noise,         &settings.fading,
                                          &settings.staticCrashes, &settings.interference,
                                          &settings.chirp,         &settings.keyClicks};
    if (toMembers) {
        for (const Value& value : values) {
            *value.member = value.spin->value();
        }
        for (int k = 0; k < kConditionCount; ++k) {
            *flags[k] = switches[k]->isChecked();
        }
        settings.fist = static_cast<FistKind>(fistList->currentIndex());
        // A seed beyond 64 bits keeps the one there was.
        const std::string digits = seedEdit->text().toStdString();
        std::uint64_t seed = 0;
        const auto [stop, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), seed);
        if (!digits.empty() && error == std::errc() && stop == digits.data() + digits.size()) {
            settings.seed = seed;
        }
        settings.fixedSeed = fixedSeedBox->isChecked();
        return;
    }
    for (const Value& value : values) {
        value.spin->setValue(*value.member);
    }
    for (int k = 0; k < kConditionCount; ++k) {
        const QSignalBlocker quiet(switches[k]);
        switches[k]->setChecked(*flags[k]);
    }
    fistList->setCurrentIndex(static_cast<int>(settings.fist));
    seedEdit->setText(QString::number(settings.seed));
    fixedSeedBox->setChecked(settings.fixedSeed);
    EnableFields();
}

void CPodminkyDlg::EnableFields() {
    // The receiver filter is heard with any condition that makes a sound.
    snrSpin->setEnabled(settings.noise);
    filterSpin->setEnabled(settings.noise || settings.fading || settings.staticCrashes ||
                           settings.interference || settings.chirp || settings.keyClicks);
    fadingDepthSpin->setEnabled(settings.fading);
    fadingPeriodSpin->setEnabled(settings.fading);
    staticRateSpin->setEnabled(settings.staticCrashes);
    stationsSpin->setEnabled(settings.interference);
    chirpSpin->setEnabled(settings.chirp);
}

void CPodminkyDlg::OnDefaults() {
    UpdateData(true);
    ReceptionSettings defaults;
    defaults.seed = settings.seed;
    defaults.fixedSeed = settings.fixedSeed;
    settings = defaults;
    UpdateData(false);
}
