#include "ui/CZvukDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Accessibility.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

using C = CZvukModel;

QStringList CZvukDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CZvukDlg::CZvukDlg(const SoundOptions& initial, const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(initial,
            messages::DecimalSign().isEmpty() ? ',' : messages::DecimalSign().at(0).toLatin1()),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kTitle]);
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
    const auto seconds = [this] {
        auto* spin = new QDoubleSpinBox(this);
        spin->setDecimals(1);
        spin->setRange(0.0, SoundOptions::kLongestPauseTenths / 10.0);
        spin->setSingleStep(0.1);
        // The decimal sign of the language in force: a comma in Czech.
        spin->setLocale(messages::DecimalSign() == QStringLiteral(",") ? QLocale(QLocale::Czech)
                                                                       : QLocale::c());
        return spin;
    };
    const auto whole = [this](int low, int high) {
        auto* spin = new QSpinBox(this);
        spin->setRange(low, high);
        return spin;
    };
    const auto wide = [grid, &row](QWidget* widget) {
        grid->addWidget(widget, row, 0, 1, 3, Qt::AlignLeft);
        ++row;
    };

    speakBox = new QCheckBox(captions[C::kSpeak], this);
    speakBox->setAccessibleName(SpokenLabel(captions[C::kSpeak]));
    wide(speakBox);
    liveBox = new QCheckBox(captions[C::kLive], this);
    liveBox->setAccessibleName(SpokenLabel(captions[C::kLive]));
    grid->addWidget(liveBox, row, 1, 1, 2, Qt::AlignLeft);
    ++row;
    pauseBeforeSpin = seconds();
    field(captions[C::kPauseBefore], pauseBeforeSpin);
    pauseAfterSpin = seconds();
    field(captions[C::kPauseAfter], pauseAfterSpin);

    wide(new QLabel(captions[C::kLadderHeading], this));
    auto* group = new QButtonGroup(this);
    for (const C::Caption caption : {C::kNoLadder, C::kRungs, C::kSteps}) {
        auto* choice = new QRadioButton(captions[caption], this);
        choice->setAccessibleName(SpokenLabel(captions[caption]));
        ladderChoices[group->buttons().size()] = choice;
        group->addButton(choice);
        wide(choice);
        if (caption == C::kRungs) {
            rungsEdit = new QLineEdit(this);
            rungsEdit->setMaxLength(120);
            rungsEdit->setAccessibleName(SpokenLabel(captions[C::kRungs]));
            grid->addWidget(rungsEdit, row, 1, 1, 2);
            ++row;
            rungsProblem = new QLabel(this);
            rungsProblem->setWordWrap(true);
            // Read as its text, which is there only while the ladder is wrong.
            grid->addWidget(rungsProblem, row, 1, 1, 2);
            ++row;
        }
    }
    stepSpin = whole(1, SoundOptions::kHighestStepCpm);
    field(captions[C::kStepCpm], stepSpin);
    minutesSpin = whole(1, SoundOptions::kLongestStepMinutes);
    field(captions[C::kStepMinutes], minutesSpin);
    // The choices stand out to the left of the fields that belong to them.
    grid->setColumnMinimumWidth(0, 24);
    grid->setColumnStretch(2, 1);

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
    column->addLayout(grid);
    column->addWidget(note);
    column->addLayout(buttons);

    connect(speakBox, &QCheckBox::toggled, this,
            [this](bool on) { Act([&] { model.SetSpeak(on); }); });
    connect(liveBox, &QCheckBox::toggled, this,
            [this](bool on) { Act([&] { model.SetSpeakLive(on); }); });
    connect(pauseBeforeSpin, &QDoubleSpinBox::valueChanged, this,
            [this](double value) { Act([&] { model.SetPauseBefore(value); }); });
    connect(pauseAfterSpin, &QDoubleSpinBox::valueChanged, this,
            [this](double value) { Act([&] { model.SetPauseAfter(value); }); });
    for (int k = 0; k < 3; ++k) {
        connect(ladderChoices[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on) {
                Act([&] { model.ChooseLadder(static_cast<SoundOptions::Ladder>(k)); });
            }
        });
    }
    connect(rungsEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { Act([&] { model.TypeRungs(text.toStdString()); }); });
    connect(stepSpin, &QSpinBox::valueChanged, this,
            [this](int cpm) { Act([&] { model.SetStepCpm(cpm); }); });
    connect(minutesSpin, &QSpinBox::valueChanged, this,
            [this](int minutes) { Act([&] { model.SetStepMinutes(minutes); }); });
    connect(okButton, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Render();
    resize(std::max(560, sizeHint().width()), sizeHint().height());
}

template <typename Action>
void CZvukDlg::Act(Action action) {
    if (!rendering) {
        action();
        Render();
    }
}

void CZvukDlg::Render() {
    const CZvukModel::View view = model.GetView();
    rendering = true;
    speakBox->setChecked(view.options.speak);
    liveBox->setChecked(view.options.speakLive);
    pauseBeforeSpin->setValue(view.options.pauseBeforeTenths / 10.0);
    pauseAfterSpin->setValue(view.options.pauseAfterTenths / 10.0);
    ladderChoices[static_cast<int>(view.options.ladder)]->setChecked(true);
    const QString rungs = QString::fromStdString(view.rungs);
    if (rungsEdit->text() != rungs) {
        rungsEdit->setText(rungs);
    }
    stepSpin->setValue(view.options.stepCpm);
    minutesSpin->setValue(view.options.stepMinutes);
    const QString problem = QString::fromStdString(view.rungsProblemText);
    if (problem != rungsProblem->text()) {
        rungsProblem->setText(problem);
        if (isVisible()) {
            Announce(problem);
        }
    }
    liveBox->setEnabled(view.answersEnabled);
    pauseBeforeSpin->setEnabled(view.answersEnabled);
    pauseAfterSpin->setEnabled(view.answersEnabled);
    rungsEdit->setEnabled(view.rungsEnabled);
    stepSpin->setEnabled(view.stepsEnabled);
    minutesSpin->setEnabled(view.stepsEnabled);
    rendering = false;
}

void CZvukDlg::OnOk() {
    const bool accepted = model.Accept();
    Render();
    if (accepted) {
        accept();
        return;
    }
    rungsEdit->setFocus();
    rungsEdit->selectAll();
}
