#include "ui/CVysilaniDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "core/CCuePlayer.h"
#include "core/CKeyLineSource.h"
#include "core/CSidetone.h"
#include "ui/Accessibility.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

using C = CVysilaniModel;

namespace {

// While the keyer keys, time is let pass this often; otherwise often enough to end a character.
constexpr int kKeyingMilliseconds = 2;
constexpr int kIdleMilliseconds = 40;
constexpr int kHistogramRow = 22;
constexpr int kHistogramRows = 5;

}  // namespace

CKeyingArea::CKeyingArea(Clock areaClock, QWidget* parent)
    : QFrame(parent), clock(std::move(areaClock)) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setMinimumHeight(120);
    setAutoFillBackground(true);
}

void CKeyingArea::SetKeyed(bool down) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window,
                     down ? palette().color(QPalette::Highlight) : palette().color(QPalette::Base));
    setPalette(colours);
}

void CKeyingArea::keyPressEvent(QKeyEvent* event) {
    const std::int64_t at = clock();
    if (event->key() == Qt::Key_Escape) {
        // Escape closes the window, as everywhere else.
        event->ignore();
        return;
    }
    if (event->isAutoRepeat()) {
        return;
    }
    emit Key(static_cast<int>(event->nativeVirtualKey()), true, at);
}

void CKeyingArea::keyReleaseEvent(QKeyEvent* event) {
    const std::int64_t at = clock();
    if (event->isAutoRepeat()) {
        return;
    }
    emit Key(static_cast<int>(event->nativeVirtualKey()), false, at);
}

void CKeyingArea::mousePressEvent(QMouseEvent* event) {
    const std::int64_t at = clock();
    setFocus();
    // The left button is the key or the dot lever, the right one the dash lever; no other.
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        emit Button(event->button() == Qt::LeftButton, true, at);
    }
}

void CKeyingArea::mouseReleaseEvent(QMouseEvent* event) {
    const std::int64_t at = clock();
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton) {
        emit Button(event->button() == Qt::LeftButton, false, at);
    }
}

CFistHistograms::CFistHistograms(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(kHistogramRows * kHistogramRow);
}

void CFistHistograms::SetHistograms(std::vector<CVysilaniModel::Histogram> shown) {
    if (shown == histograms) {
        return;
    }
    histograms = std::move(shown);
    updateGeometry();
    update();
}

QSize CFistHistograms::sizeHint() const {
    return {400, kHistogramRows * kHistogramRow};
}

void CFistHistograms::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    int nameWidth = 0;
    for (const CVysilaniModel::Histogram& histogram : histograms) {
        nameWidth = std::max(
            nameWidth, fontMetrics().horizontalAdvance(QString::fromStdString(histogram.name)));
    }
    nameWidth += fontMetrics().horizontalAdvance(QStringLiteral("MM"));
    const int barsWidth = std::max(1, width() - nameWidth - 4);
    for (std::size_t row = 0; row < histograms.size(); ++row) {
        const CVysilaniModel::Histogram& histogram = histograms[row];
        const int top = static_cast<int>(row) * kHistogramRow;
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, top, nameWidth, kHistogramRow), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromStdString(histogram.name));
        if (histogram.bins.empty()) {
            continue;
        }
        const int most =
            std::max(1, *std::max_element(histogram.bins.begin(), histogram.bins.end()));
        const double binWidth = static_cast<double>(barsWidth) / histogram.bins.size();
        const int barsHeight = kHistogramRow - 4;
        for (std::size_t bin = 0; bin < histogram.bins.size(); ++bin) {
            const int height = histogram.bins[bin] * barsHeight / most;
            if (height > 0) {
                painter.fillRect(QRectF(nameWidth + bin * binWidth, top + 2 + barsHeight - height,
                                        std::max(1.0, binWidth - 1.0), height),
                                 palette().color(QPalette::Highlight));
            }
        }
        const double modelX = nameWidth + histogram.modelDots / histogram.binDots * binWidth;
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.drawLine(QPointF(modelX, top + 1), QPointF(modelX, top + kHistogramRow - 1));
    }
}

QStringList CVysilaniDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CVysilaniDlg::CVysilaniDlg(const KeyingSettings& keying, SendingStart start, Parts dialogParts,
                           const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      parts(std::move(dialogParts)),
      model(keying, std::move(start), messages::DecimalSign().toStdString(), parts.player.get()),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kTitle]);
    auto* practiceLabel = new QLabel(captions[C::kPractice], this);
    practiceList = new QComboBox(this);
    practiceList->addItems(
        {captions[C::kPracticeFree], captions[C::kPracticeEcho], captions[C::kPracticeCopy]});
    NameFromLabel(*practiceLabel, *practiceList);
    itemLabel = new QLabel(captions[C::kItem], this);
    itemList = new QComboBox(this);
    itemList->addItems({captions[C::kItemCharacter], captions[C::kItemGroup],
                        captions[C::kItemWord], captions[C::kItemCallsign]});
    NameFromLabel(*itemLabel, *itemList);
    startButton = new QPushButton(captions[C::kStart], this);
    startButton->setAutoDefault(false);
    judgeButton = new QPushButton(captions[C::kJudge], this);
    judgeButton->setAutoDefault(false);
    auto* practiceRow = new QHBoxLayout;
    practiceRow->addWidget(practiceLabel);
    practiceRow->addWidget(practiceList);
    practiceRow->addWidget(itemLabel);
    practiceRow->addWidget(itemList);
    practiceRow->addWidget(startButton);
    practiceRow->addWidget(judgeButton);
    practiceRow->addStretch();
    task = new QLabel(this);
    task->setWordWrap(true);
    task->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    verdict = new QLabel(this);
    verdict->setWordWrap(true);
    verdict->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    area = new CKeyingArea(parts.clock, this);
    area->setAccessibleName(captions[C::kArea]);
    areaText = new QLabel(captions[C::kArea], area);
    areaText->setWordWrap(true);
    areaText->setAlignment(Qt::AlignCenter);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->addWidget(areaText);
    auto* readLabel = new QLabel(captions[C::kRead], this);
    readText = new QPlainTextEdit(this);
    readText->setReadOnly(true);
    readText->setFocusPolicy(Qt::ClickFocus);
    NameFromLabel(*readLabel, *readText);
    auto* fistLabel = new QLabel(captions[C::kFist], this);
    figures = new QLabel(this);
    figures->setWordWrap(true);
    figures->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    NameFromLabel(*fistLabel, *figures);
    histograms = new CFistHistograms(this);
    histograms->setAccessibleName(captions[C::kHistogram]);
    histograms->setToolTip(captions[C::kHistogram]);
    playButton = new QPushButton(captions[C::kPlayOwn], this);
    playButton->setAutoDefault(false);
    saveButton = new QPushButton(captions[C::kSaveOwn], this);
    saveButton->setAutoDefault(false);
    clearButton = new QPushButton(captions[C::kClear], this);
    clearButton->setAutoDefault(false);
    closeButton = new QPushButton(captions[C::kClose], this);
    closeButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(playButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(clearButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(practiceRow);
    // The area stays where it is whatever the lines under it say.
    column->addWidget(area);
    column->addWidget(task);
    column->addWidget(verdict);
    column->addWidget(readLabel);
    column->addWidget(readText, 1);
    column->addWidget(fistLabel);
    column->addWidget(figures);
    column->addWidget(histograms);
    column->addLayout(buttons);

    connect(area, &CKeyingArea::Key, this, &CVysilaniDlg::Keyed);
    // Ctrl, Shift and Alt do nothing on their own anywhere else in the window: as keys they key
    // wherever the focus is (a list just chosen from, a button just pressed).
    qApp->installEventFilter(this);
    connect(area, &CKeyingArea::Button, this, [this](bool left, bool down, qint64 at) {
        if (down) {
            model.ButtonPressed(left, at);
        } else {
            model.ButtonReleased(left, at);
        }
        Pass();
    });
    connect(practiceList, &QComboBox::activated, this, [this](int index) {
        if (index == static_cast<int>(model.GetView().practice)) {
            return;
        }
        KeepRecord();
        model.ChoosePractice(static_cast<SendingPractice>(index));
        Render();
    });
    connect(itemList, &QComboBox::activated, this, [this](int index) {
        model.ChooseItem(static_cast<EchoItem>(index));
        Render();
    });
    connect(startButton, &QPushButton::clicked, this, [this] {
        if (model.GetView().echoRunning) {
            model.StopEcho();
        } else {
            model.StartEcho(parts.clock());
            area->setFocus();
        }
        Render();
    });
    connect(judgeButton, &QPushButton::clicked, this, [this] {
        model.JudgeCopy();
        Render();
    });
    connect(playButton, &QPushButton::clicked, this, [this] {
        model.PlayOwn(parts.clock());
        Render();
    });
    connect(saveButton, &QPushButton::clicked, this, [this] {
        const std::string wav = model.OwnSendingWav();
        if (!wav.empty() && parts.saveSound) {
            parts.saveSound(wav);
        }
    });
    connect(clearButton, &QPushButton::clicked, this, [this] {
        KeepRecord();
        area->setFocus();
        Render();
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this] { Pass(); });
    timer->start(kIdleMilliseconds);

    if (parts.sidetone && (keying.sidetone || keying.speakerSidetone)) {
        sidetoneOpen = parts.sidetone->Open(model.Start().toneHz, model.Start().gain);
    }
    if (parts.lines && keying.input == KeyInput::kSerial) {
        linesOpen = parts.lines->Start([this](Paddle lever, bool down, std::int64_t at) {
            QMetaObject::invokeMethod(
                this,
                [this, lever, down, at] {
                    model.LeverEdge(lever, down, at);
                    Pass();
                },
                Qt::QueuedConnection);
        });
    }
    if (keying.input == KeyInput::kSerial && !linesOpen) {
        model.LinesUnreadable();
    }
    Render();
    // Room for the figures and the five histograms on a screen of 1024 x 768.
    resize(std::max(640, sizeHint().width()), std::max(680, sizeHint().height()));
    area->setFocus();
}

CVysilaniDlg::~CVysilaniDlg() {
    if (parts.lines) {
        parts.lines->Stop();
    }
}

void CVysilaniDlg::Keyed(int keysym, bool down, qint64 at) {
    if (down) {
        model.KeyPressed(keysym, at);
    } else {
        model.KeyReleased(keysym, at);
    }
    Pass();
}

bool CVysilaniDlg::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) &&
        watched == QApplication::focusWidget() && watched != area &&
        static_cast<QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool modifier = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift ||
                              key->key() == Qt::Key_Alt;
        if (modifier && !key->isAutoRepeat()) {
            Keyed(static_cast<int>(key->nativeVirtualKey()), event->type() == QEvent::KeyPress,
                  parts.clock());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CVysilaniDlg::KeepRecord() {
    const std::optional<SendingRecord> record = model.Finish(std::chrono::system_clock::now());
    if (record && parts.keepRecord) {
        parts.keepRecord(*record);
    }
}

void CVysilaniDlg::done(int result) {
    // However the window closes, the session is kept.
    KeepRecord();
    QDialog::done(result);
}

void CVysilaniDlg::Pass() {
    model.Tick(parts.clock());
    for (const KeyEdge& edge : model.TakeKeyedEdges()) {
        if (sidetoneOpen) {
            parts.sidetone->Key(edge.down, edge.at);
        }
    }
    timer->setInterval(model.NextDeadline() ? kKeyingMilliseconds : kIdleMilliseconds);
    Render();
}

void CVysilaniDlg::Render() {
    const C::View view = model.GetView();
    area->SetKeyed(view.keyDown);
    areaText->setText(QString::fromStdString(view.areaText));
    area->setAccessibleName(areaText->text());
    const QString read = QString::fromStdString(view.read);
    if (readText->toPlainText() != read) {
        readText->setPlainText(read);
        readText->verticalScrollBar()->setValue(readText->verticalScrollBar()->maximum());
    }
    QStringList lines;
    for (const std::string& line : view.figures) {
        lines << QString::fromStdString(line);
    }
    figures->setText(lines.join(QLatin1Char('\n')));
    histograms->SetHistograms(view.histograms);
    const bool echo = view.practice == SendingPractice::kEcho;
    itemLabel->setVisible(echo);
    itemList->setVisible(echo);
    itemList->setEnabled(!view.echoRunning);
    itemList->setCurrentIndex(static_cast<int>(view.item));
    startButton->setVisible(echo);
    startButton->setText(captions[view.echoRunning ? C::kStop : C::kStart]);
    judgeButton->setVisible(view.practice == SendingPractice::kCopy);
    judgeButton->setEnabled(view.canJudge);
    practiceList->setCurrentIndex(static_cast<int>(view.practice));
    task->setText(QString::fromStdString(view.task));
    task->setVisible(!view.task.empty());
    verdict->setText(QString::fromStdString(view.verdict));
    verdict->setVisible(!view.verdict.empty());
    playButton->setEnabled(view.canPlayOwn);
    saveButton->setEnabled(view.canPlayOwn && parts.saveSound != nullptr);
    if (!view.announcement.empty()) {
        Announce(QString::fromStdString(view.announcement));
        model.Announced();
    }
}
