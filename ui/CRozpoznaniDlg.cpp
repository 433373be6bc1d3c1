#include "ui/CRozpoznaniDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "core/CCuePlayer.h"
#include "print/Cp1250.h"
#include "ui/Accessibility.h"
#include "ui/CMessageBoxes.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

namespace {

enum Caption {
    kTitle,
    kSet,
    kSetLesson,
    kSetLetters,
    kSetDigits,
    kSetAll,
    kLimit,
    kWrongTone,
    kStart,
    kClose,
    kHint,
    kVerdictName,
    kRight,
    kSlow,
    kWrong,
    kEarly,
    kSpeedName,
    kSpeed,
    kSpeedRose,
    kNoSound,
    kEmptySet,
    kStatisticsHeading,
    kStatisticsName,
    kColumnCharacter,
    kColumnReaction,
    kColumnRecognitionErrors,
    kColumnCopyErrors,
    kColumnEarly,
    kLength,
    kRunEnd,
    kCharacterLine,
    kSlowest,
    kSummaryName,
    kCaptionCount,
};

// The slowest characters a summary names.
constexpr int kSlowestShown = 3;

}  // namespace

QStringList CRozpoznaniDlg::CzechCaptions() {
    return {QStringLiteral("Okamžité rozpoznání"),
            QStringLiteral("&Znaky:"),
            QStringLiteral("znaky lekce"),
            QStringLiteral("písmena"),
            QStringLiteral("číslice"),
            QStringLiteral("všechny znaky"),
            QStringLiteral("&Limit rychlé odpovědi (ms):"),
            QStringLiteral("Špatnou odpověď ohlásit &tónem"),
            QStringLiteral("&Start"),
            QStringLiteral("Za&vřít"),
            QStringLiteral("Po startu zazní znak: napište ho na klávesnici. Reakce se měří od "
                           "konce zvuku znaku."),
            QStringLiteral("Odpověď"),
            QStringLiteral("Správně: %1, %2 ms"),
            QStringLiteral("Pomalu: %1, %2 ms"),
            QStringLiteral("Špatně: zazněl znak %1, napsáno %2"),
            QStringLiteral("Správně: %1, před koncem znaku"),
            QStringLiteral("Rychlost"),
            QStringLiteral("Rychlost: %1 znaků za minutu"),
            QStringLiteral("Rychlost zvýšena na %1 znaků za minutu"),
            QStringLiteral("Zvukovou kartu nelze otevřít. Okamžité rozpoznání hraje znaky "
                           "jen zvukovou kartou."),
            QStringLiteral("Vybraná sada neobsahuje žádný znak."),
            QStringLiteral("Okamžité rozpoznání (nejpomalejší znaky první):"),
            QStringLiteral("Rychlost rozpoznání znaků"),
            QStringLiteral("Znak"),
            QStringLiteral("Reakce, medián (ms)"),
            QStringLiteral("Chybovost v rozpoznání"),
            QStringLiteral("Chybovost v opisu"),
            QStringLiteral("Odpovědi před koncem znaku"),
            QStringLiteral("&Délka běhu (odpovědí):"),
            QStringLiteral("Konec běhu: správně %1 z %2, špatně %3, před koncem znaku %4."),
            QStringLiteral("%1: správně %2 z %3, medián reakce %4 ms"),
            QStringLiteral("Nejpomalejší znaky: %1"),
            QStringLiteral("Shrnutí běhu")};
}

QStringList CRozpoznaniDlg::StatisticsCaptions(const QString& languageFile) {
    return ReadCaptionsOver(languageFile, 0, CzechCaptions()).mid(kStatisticsHeading);
}

CRozpoznaniDlg::CRozpoznaniDlg(CCuePlayer& cuePlayer, const RecognitionSettings& start,
                               std::string path, const QString& languageFile, CMessageBoxes& boxes,
                               Clock pressClock, QWidget* parent)
    : QDialog(parent),
      model(cuePlayer, start, std::move(path)),
      messageBoxes(boxes),
      clock(std::move(pressClock)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
    auto* grid = new QGridLayout;
    int row = 0;
    // A field with its label, which names it for a screen reader and carries its mnemonic.
    const auto field = [this, grid, &row](const QString& caption, QWidget* widget) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(widget);
        widget->setAccessibleName(SpokenLabel(caption));
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row, 1);
        ++row;
    };
    setList = new QComboBox(this);
    setList->addItems(
        {captions[kSetLesson], captions[kSetLetters], captions[kSetDigits], captions[kSetAll]});
    field(captions[kSet], setList);
    limitSpin = new QSpinBox(this);
    limitSpin->setRange(CRozpoznaniModel::kLowestLimit, CRozpoznaniModel::kHighestLimit);
    limitSpin->setSingleStep(100);
    field(captions[kLimit], limitSpin);
    lengthSpin = new QSpinBox(this);
    lengthSpin->setRange(CRozpoznaniModel::kShortestRun, CRozpoznaniModel::kLongestRun);
    lengthSpin->setSingleStep(10);
    field(captions[kLength], lengthSpin);
    wrongToneBox = new QCheckBox(captions[kWrongTone], this);
    wrongToneBox->setAccessibleName(SpokenLabel(captions[kWrongTone]));
    grid->addWidget(wrongToneBox, row, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    hintLabel = new QLabel(captions[kHint], this);
    hintLabel->setWordWrap(true);
    // The verdict is text, said by a screen reader whenever it changes; the focus stays where the
    // learner left it, and every key typed during a run is an answer.
    verdictLabel = new QLabel(this);
    verdictLabel->setAccessibleDescription(captions[kVerdictName]);
    verdictLabel->setMinimumHeight(fontMetrics().height() * 2);
    QFont large = verdictLabel->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    verdictLabel->setFont(large);
    speedLabel = new QLabel(this);
    speedLabel->setAccessibleDescription(captions[kSpeedName]);

    startButton = new QPushButton(captions[kStart], this);
    startButton->setAutoDefault(false);
    closeButton = new QPushButton(captions[kClose], this);
    closeButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(hintLabel);
    column->addWidget(verdictLabel);
    column->addWidget(speedLabel);
    summaryText = new QPlainTextEdit(this);
    summaryText->setReadOnly(true);
    summaryText->setTabChangesFocus(true);
    summaryText->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    summaryText->setAccessibleName(captions[kSummaryName]);
    summaryText->setMinimumHeight(8 * fontMetrics().lineSpacing());
    summaryText->hide();
    column->addWidget(summaryText, 1);
    column->addLayout(buttons);

    nextTimer = new QTimer(this);
    nextTimer->setSingleShot(true);
    nextTimer->setInterval(CRecognitionSession::kPauseMilliseconds);

    connect(setList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!rendering) {
            model.ChooseSet(index);
        }
    });
    connect(limitSpin, &QSpinBox::valueChanged, this, [this](int milliseconds) {
        if (!rendering) {
            model.SetLimit(milliseconds);
        }
    });
    connect(lengthSpin, &QSpinBox::valueChanged, this, [this](int answers) {
        if (!rendering) {
            model.SetLength(answers);
        }
    });
    connect(wrongToneBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!rendering) {
            model.SetWrongTone(on);
        }
    });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(nextTimer, &QTimer::timeout, this, [this] { PlayNext(); });
    // Keys typed while a button has the focus are answers too.
    startButton->installEventFilter(this);
    closeButton->installEventFilter(this);
    Render();
    ShowSpeed();
    resize(std::max(480, sizeHint().width()), sizeHint().height());
}

CRozpoznaniDlg::~CRozpoznaniDlg() = default;

void CRozpoznaniDlg::Render() {
    const CRozpoznaniModel::View view = model.GetView();
    rendering = true;
    setList->setCurrentIndex(static_cast<int>(view.settings.set));
    limitSpin->setValue(view.settings.limitMilliseconds);
    lengthSpin->setValue(view.settings.length);
    wrongToneBox->setChecked(view.settings.wrongTone);
    // The choices hold for a whole run.
    setList->setEnabled(!view.running);
    limitSpin->setEnabled(!view.running);
    lengthSpin->setEnabled(!view.running);
    wrongToneBox->setEnabled(!view.running);
    rendering = false;
}

void CRozpoznaniDlg::Tell(const CRozpoznaniModel::Problems& problems) {
    for (const CRozpoznaniModel::Problem problem : problems) {
        switch (problem) {
            case CRozpoznaniModel::Problem::kNoSound:
                messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption,
                                  captions[kNoSound], this);
                break;
            case CRozpoznaniModel::Problem::kEmptySet:
                messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                                  captions[kEmptySet], this);
                break;
            case CRozpoznaniModel::Problem::kWriteFailed:
                messageBoxes.Show(
                    CMessageBoxes::Icon::Error, messages::kCaption,
                    messages::WriteFailed(QString::fromStdString(model.RecordsPath())), this);
                break;
        }
    }
}

void CRozpoznaniDlg::OnStart() {
    nextTimer->stop();
    const CRozpoznaniModel::Problems problems = model.Start();
    if (model.Running()) {
        verdictLabel->clear();
        summaryText->hide();
        ShowSpeed();
        // The answers are typed wherever the focus is; the choices are closed during a run.
        if (!closeButton->hasFocus()) {
            startButton->setFocus();
        }
    }
    Render();
    Tell(problems);
}

void CRozpoznaniDlg::ShowSpeed() {
    speedLabel->setText(captions[kSpeed].arg(model.GetView().signSpeed));
}

void CRozpoznaniDlg::PlayNext() {
    const CRozpoznaniModel::Problems problems = model.Next();
    Render();
    Tell(problems);
}

void CRozpoznaniDlg::OnAnswer(char typed, std::int64_t pressNanoseconds) {
    const CRozpoznaniModel::Pressed pressed = model.Press(typed, pressNanoseconds);
    const std::optional<CRecognitionSession::Answer>& answer = pressed.answer;
    if (!answer) {
        return;
    }
    const QString asked = QString(QLatin1Char(answer->asked));
    QString text;
    if (answer->verdict == CInstantRecognition::Verdict::Wrong) {
        text = captions[kWrong].arg(asked, QString(QLatin1Char(answer->typed)));
    } else if (answer->early) {
        text = captions[kEarly].arg(asked);
    } else {
        text = captions[answer->verdict == CInstantRecognition::Verdict::Slow ? kSlow : kRight]
                   .arg(asked)
                   .arg(answer->reactionMilliseconds);
    }
    verdictLabel->setText(text);
    // The rise is said with the answer that made it; the next answer shows the speed again.
    if (answer->speedRose) {
        speedLabel->setText(captions[kSpeedRose].arg(model.GetView().signSpeed));
        text += QLatin1Char(' ') + speedLabel->text();
    } else {
        ShowSpeed();
    }
    const CRozpoznaniModel::View view = model.GetView();
    if (view.summary) {
        ShowSummary(*view.summary);
        text += QLatin1Char(' ') + summaryText->document()->firstBlock().text();
        Render();
    } else {
        nextTimer->start();
    }
    // One message: a reader cuts a message short when the next one comes.
    Announce(text);
    Tell(pressed.problems);
}

void CRozpoznaniDlg::ShowSummary(const CRozpoznaniModel::Summary& summary) {
    QStringList lines{captions[kRunEnd]
                          .arg(summary.right)
                          .arg(summary.answers)
                          .arg(summary.wrong)
                          .arg(summary.early)};
    QStringList slowest;
    for (const CRecognitionSession::CharacterResult& result : summary.characters) {
        const QString character = FromCp1250(result.character);
        lines << captions[kCharacterLine]
                     .arg(character)
                     .arg(result.answers - result.errors)
                     .arg(result.answers)
                     .arg(result.medianMilliseconds ? QString::number(*result.medianMilliseconds)
                                                    : QStringLiteral("–"));
        if (result.medianMilliseconds && slowest.size() < kSlowestShown) {
            slowest << character;
        }
    }
    if (!slowest.isEmpty()) {
        lines.insert(1, captions[kSlowest].arg(slowest.join(QStringLiteral(", "))));
    }
    summaryText->setPlainText(lines.join(QLatin1Char('\n')));
    summaryText->show();
    // The window grows for the summary rather than squeeze the fields above it.
    resize(width(), std::max(height(), sizeHint().height()));
}

void CRozpoznaniDlg::done(int result) {
    nextTimer->stop();
    Tell(model.Close());
    QDialog::done(result);
}

char CRozpoznaniDlg::Typed(const QKeyEvent& event) {
    const QString text = event.text();
    if (text.size() != 1 || text[0].unicode() <= 0x20 || text[0].unicode() >= 0x7F) {
        return 0;
    }
    return static_cast<char>(text[0].unicode());
}

void CRozpoznaniDlg::keyPressEvent(QKeyEvent* event) {
    // The moment of the press is taken when the event arrives, on the monotonic clock the sound's
    // end is mapped to: the event's own timestamp is the window system's and not comparable. The
    // delay of the event queue (well under a millisecond while the dialog waits) is counted in.
    const std::int64_t now = clock();
    if (const char typed = Typed(*event); typed != 0 && model.Running() && !event->isAutoRepeat()) {
        OnAnswer(typed, now);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CRozpoznaniDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && model.Running()) {
        const std::int64_t now = clock();
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const char typed = Typed(*key); typed != 0 && !key->isAutoRepeat()) {
            OnAnswer(typed, now);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
