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
#include <chrono>

#include "core/CCuePlayer.h"
#include "training/CCallsignRecordsFile.h"
#include "ui/Accessibility.h"
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

// The seed of a run: the milliseconds of the monotonic clock, as the generator's seeds are drawn.
std::uint32_t RunSeed() {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
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
      settings(defaults),
      player(cuePlayer),
      recordsPath(std::move(records)),
      messageBoxes(boxes),
      notifier(warnings),
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
    answerEdit->setMaxLength(static_cast<int>(CCallsignRecordsFile::kLongestText));
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
    progressLabel = new QLabel(this);
    progressLabel->setWordWrap(true);
    summaryText = new QPlainTextEdit(this);
    summaryText->setReadOnly(true);
    summaryText->setTabChangesFocus(true);
    summaryText->setAccessibleName(captions[kSummaryName]);
    summaryText->setMaximumHeight(80);
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
    column->addWidget(summaryText);
    column->addStretch();
    column->addLayout(buttons);

    feedTimer = new QTimer(this);
    feedTimer->setInterval(100);
    connect(feedTimer, &QTimer::timeout, this, [this] {
        if (session) {
            session->Feed();
        }
    });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(answerEdit, &QLineEdit::returnPressed, this, [this] { OnAnswer(); });
    connect(repeatButton, &QPushButton::clicked, this, [this] { OnRepeat(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    UpdateData(false);
    Render();
    resize(std::max(560, sizeHint().width()), sizeHint().height());
}

CVolaciZnakyDlg::~CVolaciZnakyDlg() = default;

void CVolaciZnakyDlg::UpdateData(bool toMembers) {
    if (toMembers) {
        settings.startSpeed = startSpeedSpin->value();
        settings.step = stepSpin->value();
        settings.wrongTone = wrongToneBox->isChecked();
        return;
    }
    startSpeedSpin->setValue(settings.startSpeed);
    stepSpin->setValue(settings.step);
    wrongToneBox->setChecked(settings.wrongTone);
}

void CVolaciZnakyDlg::OnStart() {
    UpdateData(true);
    // The run before this one keeps what was answered.
    StoreRun();
    player.Silence();
    session = std::make_unique<CCallsignSession>(settings, player, RunSeed());
    verdictLabel->clear();
    if (!session->Start()) {
        session.reset();
        Render();
        messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, captions[kNoSound], this);
        return;
    }
    feedTimer->start();
    Render();
    answerEdit->setFocus();
}

void CVolaciZnakyDlg::OnAnswer() {
    if (!session || session->Finished()) {
        return;
    }
    const auto answer = session->Type(answerEdit->text().toStdString());
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
    if (session->Finished()) {
        StoreRun();
    }
    Render();
    if (session->Finished()) {
        summaryText->setFocus();
    }
}

void CVolaciZnakyDlg::OnRepeat() {
    if (session) {
        session->Repeat();
    }
    answerEdit->setFocus();
}

void CVolaciZnakyDlg::done(int result) {
    feedTimer->stop();
    StoreRun();
    player.Silence();
    QDialog::done(result);
}

void CVolaciZnakyDlg::StoreRun() {
    if (session) {
        session->Save(recordsPath, std::chrono::system_clock::now(), notifier);
    }
}

void CVolaciZnakyDlg::Render() {
    const bool running = session && !session->Finished();
    answerEdit->setEnabled(running);
    answerLabel->setEnabled(running);
    repeatButton->setEnabled(running);
    if (!session) {
        progressLabel->setText(captions[kBeforeStart]);
        summaryText->hide();
        return;
    }
    if (running) {
        progressLabel->setText(captions[kProgress]
                                   .arg(session->Speed())
                                   .arg(session->Answered() + 1)
                                   .arg(session->Callsigns())
                                   .arg(session->Score()));
        summaryText->hide();
        return;
    }
    const CallsignRunRecord record = session->Record();
    const auto right = std::count_if(record.answers.begin(), record.answers.end(),
                                     [](const auto& answer) { return answer.right; });
    const QString summary = captions[kSummary]
                                .arg(record.score)
                                .arg(right)
                                .arg(record.answers.size())
                                .arg(messages::Number(100.0 * record.RightShare(), 0))
                                .arg(record.highestSpeed);
    progressLabel->setText(summary);
    summaryText->setPlainText(summary);
    summaryText->show();
}
