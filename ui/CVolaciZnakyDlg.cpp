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
#include "ui/CCallsignRunsView.h"
#include "ui/CMessageBoxes.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

namespace {

enum Caption {
    kTitle,
    kStartSpeed,
    kStep,
    kWrongTone,
    kStart,
    kAnswer,
    kRepeat,
    kClose,
    kVerdictName,
    kRight,
    kWrong,
    kNothingTyped,
    kProgress,
    kSummary,
    kSummaryName,
    kNoSound,
    kBeforeStart,
};

// Links `label` to `control` and names the control after it.
void Name(QLabel& label, QWidget& control) {
    label.setBuddy(&control);
    control.setAccessibleName(SpokenLabel(label.text()));
}

}  // namespace

QStringList CVolaciZnakyDlg::CzechCaptions() {
    return {QStringLiteral("Volací znaky"),
            QStringLiteral("Počáteční &rychlost (znaků za minutu):"),
            QStringLiteral("&Krok rychlosti (znaků za minutu):"),
            QStringLiteral("&Tón při chybné odpovědi"),
            QStringLiteral("&Start"),
            QStringLiteral("&Co jste slyšeli (Enter odešle):"),
            QStringLiteral("&Opakovat"),
            QStringLiteral("&Zavřít"),
            QStringLiteral("Poslední odpověď"),
            QStringLiteral("Správně: %1 (rychlost %2 znaků za minutu)."),
            QStringLiteral("Chybně: vysíláno %1, zapsáno %2 (rychlost %3 znaků za minutu)."),
            QStringLiteral("nic"),
            QStringLiteral("Rychlost %1 znaků za minutu, volací znak %2 z %3, skóre %4."),
            QStringLiteral("Konec běhu: skóre %1, správně %2 z %3 (%4 %), nejvyšší rychlost %5 "
                           "znaků za minutu."),
            QStringLiteral("Shrnutí běhu"),
            QStringLiteral("CHYBA: Zvukovou kartu nelze použít, volací znaky proto nelze "
                           "přehrát."),
            QStringLiteral("Zvolte počáteční rychlost a krok a stiskněte Start.")};
}

CVolaciZnakyDlg::CVolaciZnakyDlg(const CCallsignSession::Settings& defaults, CCuePlayer& cuePlayer,
                                 std::string records, CMessageBoxes& boxes, CNotifier& warnings,
                                 const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(defaults, cuePlayer, std::move(records), warnings),
      messageBoxes(boxes),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
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
    field(0, captions[kStartSpeed], startSpeedSpin);
    stepSpin = new QSpinBox(this);
    stepSpin->setRange(1, CCallsignSession::kLargestStep);
    field(1, captions[kStep], stepSpin);
    wrongToneBox = new QCheckBox(captions[kWrongTone], this);
    wrongToneBox->setAccessibleName(SpokenCaption(captions[kWrongTone]));
    grid->addWidget(wrongToneBox, 2, 0, 1, 2);
    startButton = new QPushButton(captions[kStart], this);
    startButton->setAutoDefault(false);
    grid->addWidget(startButton, 0, 2);
    grid->setColumnStretch(3, 1);

    answerEdit = new QLineEdit(this);
    QFont big = answerEdit->font();
    big.setPointSize(std::max(big.pointSize(), 14));
    answerEdit->setFont(big);
    answerEdit->setMaxLength(static_cast<int>(CVolaciZnakyModel::kLongestAnswer));
    answerLabel = new QLabel(captions[kAnswer], this);
    Name(*answerLabel, *answerEdit);
    repeatButton = new QPushButton(captions[kRepeat], this);
    repeatButton->setAutoDefault(false);
    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(answerEdit, 1);
    answerRow->addWidget(repeatButton);

    // The verdict and the progress are read as their text; the description says what they are.
    verdictLabel = new QLabel(this);
    verdictLabel->setWordWrap(true);
    verdictLabel->setAccessibleDescription(captions[kVerdictName]);
    verdictLabel->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    QFont verdictFont = verdictLabel->font();
    verdictFont.setPointSize(std::max(verdictFont.pointSize(), 12));
    verdictLabel->setFont(verdictFont);
    // Room for a verdict of three lines from the start: a window does not grow for a label that
    // wraps, and the controls above it would be squeezed.
    verdictLabel->setMinimumHeight(3 * QFontMetrics(verdictFont).lineSpacing());
    progressLabel = new QLabel(this);
    progressLabel->setWordWrap(true);
    // How the score is counted; its caption follows those of the runs' table in the file.
    const int ruleLine = CCallsignRunsView::kFirstCaptionLine +
                         static_cast<int>(CCallsignRunsView::CzechCaptions().size());
    auto* ruleLabel = new QLabel(
        ReadCaptionsOver(languageFile, ruleLine,
                         {QStringLiteral("Body za správnou odpověď: její rychlost × počet znaků "
                                         "značky ÷ 10; každé Opakovat je půlí.")})
            .value(0),
        this);
    ruleLabel->setWordWrap(true);
    summaryText = new QPlainTextEdit(this);
    summaryText->setReadOnly(true);
    summaryText->setTabChangesFocus(true);
    summaryText->setAccessibleName(captions[kSummaryName]);
    summaryText->setMaximumHeight(140);
    summaryText->hide();

    closeButton = new QPushButton(captions[kClose], this);
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
    verdictLabel->clear();
    if (!model.Start()) {
        Render();
        messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, captions[kNoSound], this);
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
    const QString callsign = QString::fromStdString(answer->callsign);
    const QString speed = QString::number(answer->speed);
    if (answer->right) {
        verdictLabel->setText(captions[kRight].arg(callsign, speed));
    } else {
        const QString typed =
            answer->typed.empty() ? captions[kNothingTyped] : QString::fromStdString(answer->typed);
        verdictLabel->setText(captions[kWrong].arg(callsign, typed, speed));
    }
    // Said where the learner types; the summary that ends a run takes the focus and is read then.
    Announce(verdictLabel->text());
    Render();
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
    if (!view.started) {
        progressLabel->setText(captions[kBeforeStart]);
        summaryText->hide();
        return;
    }
    if (view.running) {
        progressLabel->setText(captions[kProgress]
                                   .arg(view.speed)
                                   .arg(view.answered + 1)
                                   .arg(view.callsigns)
                                   .arg(view.score));
        summaryText->hide();
        return;
    }
    const QString summary = captions[kSummary]
                                .arg(view.record.score)
                                .arg(view.right)
                                .arg(view.record.answers.size())
                                .arg(messages::Number(100.0 * view.record.RightShare(), 0))
                                .arg(view.record.highestSpeed);
    // The summary once, in its own field, with every miss after it.
    progressLabel->clear();
    QStringList lines{summary};
    for (const CallsignRunRecord::Answer& answer : view.record.answers) {
        if (!answer.right) {
            lines << captions[kWrong].arg(QString::fromStdString(answer.callsign),
                                          answer.typed.empty()
                                              ? captions[kNothingTyped]
                                              : QString::fromStdString(answer.typed),
                                          QString::number(answer.speed));
        }
    }
    summaryText->setPlainText(lines.join(QLatin1Char('\n')));
    summaryText->show();
    resize(width(), std::max(height(), sizeHint().height()));
}
