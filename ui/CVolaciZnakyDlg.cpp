#include "ui/CVolaciZnakyDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/Accessibility.h"
#include "ui/CMessageBoxes.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

namespace {

// Links `label` to `control` and names the control after it.
void Name(QLabel& label, QWidget& control) {
    label.setBuddy(&control);
    control.setAccessibleName(SpokenLabel(label.text()));
}

}  // namespace

using C = CVolaciZnakyModel;

QStringList CVolaciZnakyDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CVolaciZnakyDlg::CVolaciZnakyDlg(const CCallsignSession::Settings& defaults, CCuePlayer& cuePlayer,
                                 const CCallsignRecordsFile& records, CMessageBoxes& boxes,
                                 CNotifier& warnings, const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(defaults, cuePlayer, records, warnings),
      messageBoxes(boxes),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions), messages::DecimalSign().toStdString());
    setWindowTitle(captions[C::kTitle]);
    auto* grid = new QGridLayout;
    const auto field = [this, grid](int row, const QString& caption, QWidget* widget) {
        auto* label = new QLabel(caption, this);
        Name(*label, *widget);
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row, 1);
        return label;
    };
    startSpeedSpin = new QSpinBox(this);
    startSpeedSpin->setRange(CCallsignSession::kLowestStartSpeed,
                             CCallsignSession::kHighestStartSpeed);
    startSpeedSpin->setSingleStep(5);
    field(0, captions[C::kStartSpeed], startSpeedSpin);
    stepSpin = new QSpinBox(this);
    stepSpin->setRange(1, CCallsignSession::kLargestStep);
    field(1, captions[C::kStep], stepSpin);
    wrongToneBox = new QCheckBox(captions[C::kWrongTone], this);
    wrongToneBox->setAccessibleName(SpokenCaption(captions[C::kWrongTone]));
    grid->addWidget(wrongToneBox, 2, 0, 1, 2);
    startButton = new QPushButton(captions[C::kStart], this);
    startButton->setAutoDefault(false);
    grid->addWidget(startButton, 0, 2);
    grid->setColumnStretch(3, 1);

    answerEdit = new QLineEdit(this);
    QFont big = answerEdit->font();
    big.setPointSize(std::max(big.pointSize(), 14));
    answerEdit->setFont(big);
    answerEdit->setMaxLength(static_cast<int>(CVolaciZnakyModel::kLongestAnswer));
    answerLabel = new QLabel(captions[C::kAnswer], this);
    Name(*answerLabel, *answerEdit);
    repeatButton = new QPushButton(captions[C::kRepeat], this);
    repeatButton->setAutoDefault(false);
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(answerEdit, 1);
    answerRow->addWidget(repeatButton);

    // The verdict and the progress are read as their text; the description says what they are.
    verdictLabel = new QLabel(this);
    verdictLabel->setWordWrap(true);
    verdictLabel->setAccessibleDescription(captions[C::kVerdictName]);
    verdictLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    QFont verdictFont = verdictLabel->font();
    verdictFont.setPointSize(std::max(verdictFont.pointSize(), 12));
    verdictLabel->setFont(verdictFont);
    // Room for a verdict of three lines from the start: a window does not grow for a label that
    // wraps, and the controls above it would be squeezed.
    verdictLabel->setMinimumHeight(3 * QFontMetrics(verdictFont).lineSpacing());
    progressLabel = new QLabel(this);
    progressLabel->setWordWrap(true);
    // How the score is counted.
    auto* ruleLabel = new QLabel(captions[C::kScoreRule], this);
    ruleLabel->setWordWrap(true);
    summaryText = new QPlainTextEdit(this);
    summaryText->setReadOnly(true);
    summaryText->setTabChangesFocus(true);
    summaryText->setAccessibleName(captions[C::kSummaryName]);
    summaryText->setMaximumHeight(140);
    summaryText->hide();

    closeButton = new QPushButton(captions[C::kClose], this);
    closeButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(answerLabel);
    column->addLayout(answerRow);
    column->addWidget(verdictLabel);
    column->addWidget(progressLabel);
    column->addWidget(ruleLabel);
    column->addWidget(summaryText);
    column->addStretch();
    column->addLayout(buttons);

    feedTimer = new QTimer(this);
    feedTimer->setInterval(100);
    connect(feedTimer, &QTimer::timeout, this, [this] { model.Feed(); });
    connect(startSpeedSpin, &QSpinBox::valueChanged, this, [this](int speed) {
        if (!rendering) {
            model.SetStartSpeed(speed);
        }
    });
    connect(stepSpin, &QSpinBox::valueChanged, this, [this](int step) {
        if (!rendering) {
            model.SetStep(step);
        }
    });
    connect(wrongToneBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering) {
            model.SetWrongTone(on);
        }
    });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(answerEdit, &QLineEdit::returnPressed, this, [this] { OnAnswer(); });
    connect(repeatButton, &QPushButton::clicked, this, [this] { OnRepeat(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    Render();
    resize(std::max(560, sizeHint().width()), sizeHint().height());
}

CVolaciZnakyDlg::~CVolaciZnakyDlg() = default;

void CVolaciZnakyDlg::OnStart() {
    if (!model.Start()) {
        Render();
        messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, captions[C::kNoSound],
                          this);
        return;
    }
    feedTimer->start();
    Render();
    answerEdit->setFocus();
}

void CVolaciZnakyDlg::OnAnswer() {
    if (!model.GetView().running) {
        return;
    }
    const auto answer = model.Answer(answerEdit->text().toStdString());
    answerEdit->clear();
    if (!answer) {
        return;
    }
    Render();
    // Said where the learner types; the summary that ends a run takes the focus and is read then.
    Announce(verdictLabel->text());
    if (!model.GetView().running) {
        summaryText->setFocus();
    }
}

void CVolaciZnakyDlg::OnRepeat() {
    model.Repeat();
    answerEdit->setFocus();
}

void CVolaciZnakyDlg::done(int result) {
    feedTimer->stop();
    model.Close();
    QDialog::done(result);
}

void CVolaciZnakyDlg::Render() {
    const CVolaciZnakyModel::View view = model.GetView();
    rendering = true;
    startSpeedSpin->setValue(view.settings.startSpeed);
    stepSpin->setValue(view.settings.step);
    wrongToneBox->setChecked(view.settings.wrongTone);
    rendering = false;
    answerEdit->setEnabled(view.running);
    answerLabel->setEnabled(view.running);
    repeatButton->setEnabled(view.running);
    verdictLabel->setText(QString::fromStdString(view.verdict));
    progressLabel->setText(QString::fromStdString(view.progress));
    summaryText->setVisible(!view.summaryText.empty());
    if (view.summaryText.empty()) {
        return;
    }
    summaryText->setPlainText(QString::fromStdString(view.summaryText));
    resize(width(), std::max(height(), sizeHint().height()));
}
