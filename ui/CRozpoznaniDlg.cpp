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
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "core/CCuePlayer.h"
#include "ui/Accessibility.h"
#include "ui/CMessageBoxes.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

using C = CRozpoznaniModel;

QStringList CRozpoznaniDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CRozpoznaniDlg::CRozpoznaniDlg(CCuePlayer& cuePlayer, const RecognitionSettings& start,
                               const CRecognitionFile& records, const QString& languageFile,
                               CMessageBoxes& boxes, Clock pressClock, QWidget* parent)
    : QDialog(parent),
      model(cuePlayer, start, records),
      messageBoxes(boxes),
      clock(std::move(pressClock)),
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
        grid->addWidget(label, row, 0);
        grid->addWidget(widget, row, 1);
        ++row;
    };
    setList = new QComboBox(this);
    setList->addItems({captions[C::kSetLesson], captions[C::kSetLetters], captions[C::kSetDigits],
                       captions[C::kSetAll]});
    field(captions[C::kSet], setList);
    limitSpin = new QSpinBox(this);
    limitSpin->setRange(CRozpoznaniModel::kLowestLimit, CRozpoznaniModel::kHighestLimit);
    limitSpin->setSingleStep(100);
    field(captions[C::kLimit], limitSpin);
    lengthSpin = new QSpinBox(this);
    lengthSpin->setRange(CRozpoznaniModel::kShortestRun, CRozpoznaniModel::kLongestRun);
    lengthSpin->setSingleStep(10);
    field(captions[C::kLength], lengthSpin);
    wrongToneBox = new QCheckBox(captions[C::kWrongTone], this);
    wrongToneBox->setAccessibleName(SpokenLabel(captions[C::kWrongTone]));
    grid->addWidget(wrongToneBox, row, 0, 1, 2, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    hintLabel = new QLabel(captions[C::kHint], this);
    hintLabel->setWordWrap(true);
    // The verdict is text, said by a screen reader whenever it changes; the focus stays where the
    // learner left it, and every key typed during a run is an answer.
    verdictLabel = new QLabel(this);
    verdictLabel->setAccessibleDescription(captions[C::kVerdictName]);
    verdictLabel->setMinimumHeight(fontMetrics().height() * 2);
    QFont large = verdictLabel->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    verdictLabel->setFont(large);
    speedLabel = new QLabel(this);
    speedLabel->setAccessibleDescription(captions[C::kSpeedName]);

    startButton = new QPushButton(captions[C::kStart], this);
    startButton->setAutoDefault(false);
    closeButton = new QPushButton(captions[C::kClose], this);
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
    summaryText->setAccessibleName(captions[C::kSummaryName]);
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
                                  captions[C::kNoSound], this);
                break;
            case CRozpoznaniModel::Problem::kEmptySet:
                messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                                  captions[C::kEmptySet], this);
                break;
            case CRozpoznaniModel::Problem::kWriteFailed:
                messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption,
                                  messages::WriteFailed(QString::fromStdString(model.RecordsPath()),
                                                        model.WriteError()),
                                  this);
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
        // The window gives back the room the last summary took.
        layout()->activate();
        resize(width(), sizeHint().height());
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
    speedLabel->setText(QString::fromStdString(model.GetView().speed));
}

void CRozpoznaniDlg::PlayNext() {
    const CRozpoznaniModel::Problems problems = model.Next();
    Render();
    Tell(problems);
}

void CRozpoznaniDlg::OnAnswer(char typed, std::int64_t pressNanoseconds) {
    const CRozpoznaniModel::Pressed pressed = model.Press(typed, pressNanoseconds);
    if (!pressed.answer) {
        return;
    }
    const CRozpoznaniModel::View view = model.GetView();
    verdictLabel->setText(QString::fromStdString(view.verdict));
    speedLabel->setText(QString::fromStdString(view.speed));
    if (view.summary) {
        summaryText->setPlainText(QString::fromStdString(view.summaryText));
        summaryText->show();
        // The window grows for the summary rather than squeeze the fields above it.
        resize(width(), std::max(height(), sizeHint().height()));
        Render();
    } else {
        nextTimer->start();
    }
    // One message: a reader cuts a message short when the next one comes.
    Announce(QString::fromStdString(view.announcement));
    Tell(pressed.problems);
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
