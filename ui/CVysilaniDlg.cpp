#include "ui/CVysilaniDlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

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
    emit Button(event->button() == Qt::LeftButton, true, at);
}

void CKeyingArea::mouseReleaseEvent(QMouseEvent* event) {
    emit Button(event->button() == Qt::LeftButton, false, clock());
}

bool CKeyingArea::focusNextPrevChild(bool next) {
    // Tab leaves the area, as everywhere else.
    return QFrame::focusNextPrevChild(next);
}

QStringList CVysilaniDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CVysilaniDlg::CVysilaniDlg(const KeyingSettings& keying, int signSpeed, double dashRatio,
                           Parts dialogParts, const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(keying, signSpeed, dashRatio, messages::DecimalSign().toStdString()),
      parts(std::move(dialogParts)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions));
    setWindowTitle(captions[C::kTitle]);
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
    clearButton = new QPushButton(captions[C::kClear], this);
    clearButton->setAutoDefault(false);
    closeButton = new QPushButton(captions[C::kClose], this);
    closeButton->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(area);
    column->addWidget(readLabel);
    column->addWidget(readText, 1);
    column->addWidget(fistLabel);
    column->addWidget(figures);
    column->addLayout(buttons);

    connect(area, &CKeyingArea::Key, this, [this](int keysym, bool down, qint64 at) {
        if (down) {
            model.KeyPressed(keysym, at);
        } else {
            model.KeyReleased(keysym, at);
        }
        Pass();
    });
    connect(area, &CKeyingArea::Button, this, [this](bool left, bool down, qint64 at) {
        if (down) {
            model.ButtonPressed(left, at);
        } else {
            model.ButtonReleased(left, at);
        }
        Pass();
    });
    connect(clearButton, &QPushButton::clicked, this, [this] {
        model.Clear();
        area->setFocus();
        Render();
    });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this] { Pass(); });
    timer->start(kIdleMilliseconds);

    if (parts.sidetone && keying.sidetone) {
        sidetoneOpen = parts.sidetone->Open(parts.toneHz, parts.volume);
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
    resize(std::max(560, sizeHint().width()), std::max(480, sizeHint().height()));
    area->setFocus();
}

CVysilaniDlg::~CVysilaniDlg() {
    if (parts.lines) {
        parts.lines->Stop();
    }
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
    if (!view.newWord.empty()) {
        Announce(QString::fromStdString(view.newWord));
        model.WordAnnounced();
    }
}
