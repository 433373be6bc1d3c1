#include "ui/CMorseDlg.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimer>

#include <QFile>
#include "config/SettingsFile.h"
#include "core/CMorseTable.h"
#include "core/Timing.h"
#include "engine/CTransmissionTimeline.h"
#include "engine/SoundFile.h"
#include "output/CSystemCalls.h"
#include "output/OutputKind.h"
#include "output/SerialPorts.h"
#include "text/CRandomSource.h"
#include "text/TextFile.h"
#include "training/CCharacterWeights.h"
#include "training/CHistoryFile.h"
#include "training/CKochCourse.h"
#include "ui/CInfoDlg.h"
#include "ui/CKochDlg.h"
#include "ui/CKontrolaDlg.h"
#include "ui/CMnemonicKeys.h"
#include "ui/CStatistikaDlg.h"
#include "ui/CTextView.h"
#include "ui/CTiskDlg.h"
#include "ui/CVlastniTextDlg.h"
#include "ui/CVystupDlg.h"
#include "ui/Captions.h"
#include "ui/ControlIds.h"
#include "ui/Cp1250.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

namespace {

constexpr int kVolumeMaximum = 65535;
constexpr int kVolumeStep = 8191;

template <std::size_t N>
void FillNumberList(QComboBox* list, const std::array<int, N>& values) {
    for (const int value : values) {
        list->addItem(QString::number(value));
    }
}

void Place(QWidget* widget, const LayoutRect& rect, int top) {
    widget->setGeometry(rect.x, rect.y + top, rect.width, rect.height);
}

}  // namespace

// Hands the engine's reports to the user-interface thread.
class CMorseDlg::CEngineEvents : public CEngineListener {
public:
    explicit CEngineEvents(CMorseDlg& owner) : dialog(owner) {}

    void SentTextChanged(const std::string& sentText) override {
        const QString text = FromCp1250(sentText);
        const int current = dialog.transmission;
        QMetaObject::invokeMethod(
            &dialog, [this, text, current] { dialog.OnSentTextChanged(text, current); },
            Qt::QueuedConnection);
    }
    void TransmissionFinished() override {
        const int current = dialog.transmission;
        QMetaObject::invokeMethod(
            &dialog, [this, current] { dialog.OnTransmissionEnded(current); },
            Qt::QueuedConnection);
    }

private:
    CMorseDlg& dialog;
};

CMorseDlg::CMorseDlg(DialogEnvironment dialogEnvironment, QWidget* parent)
    : QDialog(parent),
      environment(std::move(dialogEnvironment)),
      messageBoxes(environment.messageBoxes != nullptr ? *environment.messageBoxes
                                                       : qtMessageBoxes),
      desktop(environment.desktop != nullptr ? *environment.desktop : qtDesktop),
      notifier(messageBoxes, this),
      engineEvents(std::make_unique<CEngineEvents>(*this)) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/brumlo/icon.png")));
    CreateControls();
    CreateMenu();
    ApplyCaptions(CzechCaptions());
    ApplyTrainingCaptions(CzechTrainingCaptions());
    ConnectSignals();
    new CMnemonicKeys(*this, *menuBar);
    InitDialog();
}

CMorseDlg::~CMorseDlg() {
    // A collection never outlives the run.
    QFile::remove(programFolder + QStringLiteral("tisk.tmp"));
    // The engine stops a running transmission and joins its threads before anything it reports
    // to is destroyed.
    engine.reset();
}

QWidget* CMorseDlg::Control(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

QAction* CMorseDlg::MenuCommand(int id) const {
    const auto found = commands.find(id);
    return found == commands.end() ? nullptr : found->second;
}

bool CMorseDlg::IsMenuItemChecked(int id) const {
    const QAction* action = MenuCommand(id);
    return action != nullptr && action->isChecked();
}

void CMorseDlg::CreateControls() {
    const auto frame = [this](int id) {
        auto* box = new QGroupBox(this);
        controls[id] = box;
        return box;
    };
    const auto label = [this](int id) {
        auto* text = new QLabel(this);
        controls[id] = text;
        return text;
    };
    const auto button = [this](int id) {
        auto* push = new QPushButton(this);
        push->setAutoDefault(false);
        push->setDefault(false);
        controls[id] = push;
        return push;
    };
    const auto list = [this](int id) {
        auto* combo = new QComboBox(this);
        controls[id] = combo;
        return combo;
    };
    // Frames first, so that the controls inside them lie above them.
    frame(ids::kMorseTextFrame);
    frame(ids::kGeneratorFrame);
    frame(ids::kTextFrame);
    frame(ids::kOutputFrame);
    frame(ids::kParametersFrame);
    frame(ids::kRatioFrame);
    frame(ids::kVolumeFrame);
    frame(ids::kSendingFrame);

    morseView = new CTextView(this);
    controls[ids::kMorseText] = morseView;
    hideTextBox = new QCheckBox(this);
    controls[ids::kHideText] = hideTextBox;

    label(ids::kLettersLabel);
    lettersEdit = new QLineEdit(this);
    lettersEdit->setMaxLength(255);
    controls[ids::kLetters] = lettersEdit;
    label(ids::kDigitsLabel);
    digitsEdit = new QLineEdit(this);
    digitsEdit->setMaxLength(255);
    digitsEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), digitsEdit));
    controls[ids::kDigits] = digitsEdit;
    shortZerosBox = new QCheckBox(this);
    controls[ids::kShortZeros] = shortZerosBox;
    label(ids::kTextKindLabel);
    kindList = list(ids::kTextKind);
    generateButton = button(ids::kGenerate);

    button(ids::kLoad);
    button(ids::kSave);
    button(ids::kCustom);
    button(ids::kToPrint);

    toneList = list(ids::kTone);
    textSpeedList = list(ids::kTextSpeed);
    signSpeedList = list(ids::kSignSpeed);
    label(ids::kToneLabel);
    label(ids::kTextSpeedLabel);
    label(ids::kSignSpeedLabel);
    ratioList = list(ids::kRatio);
    label(ids::kRatioLabel);
    label(ids::kResultHeading);
    textSpeedResult = new CTextView(this);
    controls[ids::kResultText] = textSpeedResult;
    label(ids::kResultTextLabel);
    signSpeedResult = new CTextView(this);
    controls[ids::kResultSign] = signSpeedResult;
    label(ids::kResultSignLabel);

    volumeSlider = new QSlider(Qt::Vertical, this);
    volumeSlider->setRange(0, kVolumeMaximum);
    // The value is the level: the top is the loudest for the mouse, the keys and the wheel.
    volumeSlider->setSingleStep(kVolumeStep);
    volumeSlider->setPageStep(kVolumeStep);
    volumeSlider->setTickInterval(kVolumeStep);
    volumeSlider->setTickPosition(QSlider::TicksBothSides);
    controls[ids::kVolume] = volumeSlider;

    startButton = button(ids::kStart);
    stopButton = button(ids::kStop);
    pauseButton = button(ids::kPause);
    stepButton = button(ids::kStep);
}

void CMorseDlg::CreateMenu() {
    menuBar = new QMenuBar(this);
    const auto add = [this](QMenu* menu, int id, bool checkable = false, bool checked = false) {
        QAction* action = menu->addAction(QString());
        action->setCheckable(checkable);
        action->setChecked(checked);
        commands[id] = action;
        return action;
    };
    QMenu* file = menuBar->addMenu(QString());
    add(file, ids::kMenuLoadText);
    add(file, ids::kMenuSaveText);
    add(file, ids::kMenuSaveSound);
    add(file, ids::kMenuPrint);
    file->addSeparator();
    add(file, ids::kMenuExit);
    QMenu* settings = menuBar->addMenu(QString());
    add(settings, ids::kMenuOutput);
    add(settings, ids::kMenuStepping, true, false);
    add(settings, ids::kMenuLanguage, true, false);
    add(settings, ids::kMenuRemember, true, true);
    QMenu* help = menuBar->addMenu(QString());
    add(help, ids::kMenuHelpContents);
    help->addSeparator();
    add(help, ids::kMenuAbout);
    QMenu* training = menuBar->addMenu(QString());
    add(training, ids::kMenuCopyCheck)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    add(training, ids::kMenuStatistics);
    training->addSeparator();
    add(training, ids::kMenuCourse);
    add(training, ids::kMenuWeakCharacters, true, false);
    menus = {file, settings, help, training};
}

void CMorseDlg::ConnectSignals() {
    connect(hideTextBox, &QCheckBox::clicked, this, [this] { OnHideText(); });
    connect(kindList, &QComboBox::activated, this, [this] { OnKindChange(); });
    connect(commands[ids::kMenuExit], &QAction::triggered, this, [this] { OnExit(); });
    connect(commands[ids::kMenuStepping], &QAction::triggered, this, [this] { OnSteppingMode(); });
    connect(textSpeedList, &QComboBox::activated, this, [this] { OnTextSpeedChange(); });
    connect(signSpeedList, &QComboBox::activated, this, [this] { OnSignSpeedChange(); });
    connect(toneList, &QComboBox::activated, this, [this] { OnToneChange(); });
    connect(generateButton, &QPushButton::clicked, this, [this] { OnGenerate(); });
    connect(stepButton, &QPushButton::clicked, this, [this] { OnStep(); });
    connect(pauseButton, &QPushButton::clicked, this, [this] { OnPause(); });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { OnStop(); });
    connect(lettersEdit, &QLineEdit::textEdited, this, [this] { OnLettersChange(); });
    connect(volumeSlider, &QSlider::valueChanged, this,
            [this](int value) { OnVolumeScroll(value); });
    connect(ratioList, &QComboBox::activated, this, [this] { OnRatioChange(); });
    connect(commands[ids::kMenuRemember], &QAction::triggered, this, [this] { OnRemember(); });
    connect(commands[ids::kMenuLanguage], &QAction::triggered, this,
            [this] { OnLanguageChange(); });
    connect(shortZerosBox, &QCheckBox::clicked, this, [this] { OnShortZeros(); });
    connect(commands[ids::kMenuLoadText], &QAction::triggered, this, [this] { OnLoadText(); });
    const auto button = [this](int id) { return qobject_cast<QPushButton*>(Control(id)); };
    connect(button(ids::kLoad), &QPushButton::clicked, this, [this] { OnLoadText(); });
    connect(commands[ids::kMenuSaveText], &QAction::triggered, this, [this] { OnSaveText(); });
    connect(button(ids::kSave), &QPushButton::clicked, this, [this] { OnSaveText(); });
    connect(button(ids::kCustom), &QPushButton::clicked, this, [this] { OnCustomText(); });
    connect(commands[ids::kMenuOutput], &QAction::triggered, this, [this] { OnOutputSettings(); });
    connect(commands[ids::kMenuAbout], &QAction::triggered, this, [this] { OnAbout(); });
    connect(button(ids::kToPrint), &QPushButton::clicked, this, [this] { OnToPrint(); });
    connect(commands[ids::kMenuPrint], &QAction::triggered, this, [this] { OnPrint(); });
    connect(commands[ids::kMenuHelpContents], &QAction::triggered, this,
            [this] { OnHelpContents(); });
    connect(commands[ids::kMenuCopyCheck], &QAction::triggered, this, [this] { OnCopyCheck(); });
    connect(commands[ids::kMenuStatistics], &QAction::triggered, this, [this] { OnStatistics(); });
    connect(commands[ids::kMenuCourse], &QAction::triggered, this, [this] { OnCourse(); });
    connect(commands[ids::kMenuSaveSound], &QAction::triggered, this, [this] { OnSaveSound(); });
    connect(commands[ids::kMenuWeakCharacters], &QAction::triggered, this,
            [this] { OnWeakCharacters(); });
}

void CMorseDlg::InitDialog() {
    // The program folder: the current directory at start-up.
    programFolder = environment.programFolder.value_or(QDir::currentPath());
    if (!programFolder.endsWith(QLatin1Char('/'))) {
        programFolder += QLatin1Char('/');
    }
    lastFolder = programFolder;
    LayoutControls();
    // The steady clock is always there on this platform, so there is no clock check to fail.

    FillNumberList(signSpeedList, kSignSpeeds);
    FillNumberList(toneList, kToneFrequencies);
    FillNumberList(textSpeedList, kTextSpeeds);
    for (const std::string_view label : kDashRatioLabels) {
        ratioList->addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }

    std::unique_ptr<COutputFactory> outputs = std::move(environment.outputs);
    if (!outputs) {
        outputs = std::make_unique<CSystemOutputFactory>(CPosixSystemCalls::Instance(), notifier);
    }
    engine = std::make_unique<CKeyingEngine>(engineEvents.get(), std::move(environment.time),
                                             std::move(environment.priority), std::move(outputs));
    if (!engine->OpenDefaultOutput()) {
        ShowError(messages::NoOutput());
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    stepButton->setEnabled(false);
    stopButton->setEnabled(false);
    pauseButton->setEnabled(false);
    const bool soundCard = engine->GetOutputKind() == kSoundCardOutput;
    volumeSlider->setEnabled(soundCard);
    Control(ids::kVolumeFrame)->setEnabled(soundCard);
    // The sound card starts at full volume: the top of the slider.
    volumeSlider->setValue(kVolumeMaximum);

    kind = kLetterText;
    // Zeros are shortened unless the settings file says otherwise.
    shortZerosBox->setChecked(true);
    shortZerosBox->setEnabled(false);
    textSpeedIndex = 8;
    signSpeedIndex = 4;
    toneIndex = 1;
    ratioIndex = 0;
    UpdateData(false);
    engine->SetToneFrequency(kToneFrequencies[static_cast<std::size_t>(toneIndex)]);
    OnRatioChange();
    course = CCourseFile(CourseFilePath()).Read();
    commands[ids::kMenuWeakCharacters]->setChecked(course.weakCharacters);
    LoadSettings();
}

void CMorseDlg::UpdateData(bool toMembers) {
    if (toMembers) {
        kind = kindList->currentIndex();
        textSpeedIndex = textSpeedList->currentIndex();
        signSpeedIndex = signSpeedList->currentIndex();
        toneIndex = toneList->currentIndex();
        ratioIndex = ratioList->currentIndex();
        letterSet = ToCp1250(lettersEdit->text());
        digitSet = ToCp1250(digitsEdit->text());
    } else {
        kindList->setCurrentIndex(kind);
        textSpeedList->setCurrentIndex(textSpeedIndex);
        signSpeedList->setCurrentIndex(signSpeedIndex);
        toneList->setCurrentIndex(toneIndex);
        ratioList->setCurrentIndex(ratioIndex);
        lettersEdit->setText(FromCp1250(letterSet));
        digitsEdit->setText(FromCp1250(digitSet));
    }
}

LayoutInput CMorseDlg::ScreenInput() const {
    if (environment.screen) {
        return *environment.screen;
    }
    LayoutInput input;
    const QScreen* current = screen() != nullptr ? screen() : QGuiApplication::primaryScreen();
    const QRect available = current->availableGeometry();
    input.screenWidth = available.width();
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    input.usableHeight = available.height() - titleBar - menuBar->sizeHint().height();
    input.pointSize = DialogFontSize(input.screenWidth);
    return input;
}

int CMorseDlg::ContentTop() const {
    return menuBar->sizeHint().height();
}

void CMorseDlg::LayoutControls() {
    LayoutInput input = ScreenInput();
    fontSize = input.pointSize;
    QFont dialogFont(fontName);
    dialogFont.setPointSize(fontSize);
    setFont(dialogFont);
    input.averageCharWidth = QFontMetrics(dialogFont).averageCharWidth();
    layout = ComputeMainLayout(input, [](int pixelHeight) {
        const QFontMetrics metrics(MorseFont(pixelHeight));
        return TextExtent{metrics.horizontalAdvance(QString(61, QLatin1Char('W'))),
                          metrics.height()};
    });
    morseView->SetFontHeight(layout.fontHeight);
    baseTitle = QStringLiteral("Brumlo");

    const int top = ContentTop();
    menuBar->setGeometry(0, 0, std::max(layout.W, 200), top);
    for (const auto& [id, rect] : layout.controls) {
        if (QWidget* widget = Control(id)) {
            Place(widget, rect, top);
        }
    }
    for (CTextView* result : {textSpeedResult, signSpeedResult}) {
        result->SetFontFace(fontName);
        result->SetFontPointSize(fontSize);
    }
    resize(layout.W, layout.H + top);
    setWindowTitle(baseTitle);
    update();
}

void CMorseDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowState(windowState() | Qt::WindowMaximized);
}

void CMorseDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    // The window is either maximised and laid out, or minimised.
    const Qt::WindowStates state = windowState();
    if (state & Qt::WindowMinimized) {
        return;
    }
    if (state & Qt::WindowMaximized) {
        LayoutControls();
    } else if (isVisible()) {
        QTimer::singleShot(0, this,
                           [this] { setWindowState(Qt::WindowMinimized | Qt::WindowMaximized); });
    }
}

void CMorseDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    const int u = layout.u;
    const int v = layout.v;
    const int pt = layout.pt;
    const int X0 = layout.viewLeft;
    const int t = layout.viewWidth;
    const int L = layout.viewHeight;
    const int D = layout.sixCharacters;
    if (D <= 0) {
        return;
    }
    QPainter painter(this);
    painter.translate(0, ContentTop());
    QFont rulerFont(fontName);
    rulerFont.setPixelSize(std::max(pt, 6));
    painter.setFont(rulerFont);
    painter.setPen(palette().color(QPalette::WindowText));
    const QFontMetrics metrics(rulerFont);
    const int O = D / 2 + static_cast<int>(-0.2 * D) / 2;
    const auto label = [&](int i) { return QString::number(i + 1); };

    // Upper ruler: ten divisions of six characters above the text.
    const int upper = 5 * u + 4 * v;
    painter.drawLine(X0, upper, X0 + 10 * D, upper);
    for (int i = 0; i <= 10; ++i) {
        painter.drawLine(X0 + i * D, upper, X0 + i * D, 5 * u + static_cast<int>(7.5 * v));
    }
    for (int i = 0; i < 10; ++i) {
        painter.drawText(X0 + i * D + O, upper + v / 2 + metrics.ascent(), label(i));
    }
    // Lower ruler.
    const int lower = 5 * u + 12 * v + L;
    painter.drawLine(X0, lower, X0 + 10 * D, lower);
    for (int i = 0; i <= 10; ++i) {
        painter.drawLine(X0 + i * D, lower, X0 + i * D, 5 * u + L + 3 * v + (11 * v) / 2);
    }
    for (int i = 0; i < 10; ++i) {
        painter.drawText(X0 + i * D + O, 5 * u + 11 * v + L - pt + metrics.ascent(), label(i));
    }
    // Line numbers on both sides of the text, one per display line.
    for (int i = 0; i < 5; ++i) {
        const int y = 5 * u + 8 * v + pt / 2 + i * (L / 5) + metrics.ascent();
        painter.drawText(X0 - u / 2 - pt - metrics.horizontalAdvance(QLatin1Char('0')), y,
                         QString::number(i));
        painter.drawText(X0 + t + pt, y, QString::number(i));
    }
    // The embossed caption, its right edge on the right edge of the text.
    const int h = (2 * (5 * u + 3 * v)) / 3;
    QFont captionFont(QStringLiteral("Liberation Sans"));
    captionFont.setPixelSize(std::max(h, 8));
    captionFont.setWeight(QFont::Black);
    captionFont.setItalic(true);
    painter.setFont(captionFont);
    const QString caption = baseTitle + QStringLiteral("d");
    const int x = X0 + t - QFontMetrics(captionFont).horizontalAdvance(caption);
    const int y = v + h / 2 + QFontMetrics(captionFont).ascent() / 2;
    painter.setPen(palette().color(QPalette::Shadow));
    painter.drawText(x, y, caption);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawText(x - 2, y - 2, caption);
}

void CMorseDlg::ShowError(const QString& text) {
    messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, text, this);
}

void CMorseDlg::OnHideText() {
    morseView->ShowText(!hideTextBox->isChecked());
}

void CMorseDlg::OnKindChange() {
    UpdateData(true);
    customMode = false;
    if (kind == kCustomText) {
        customMode = true;
        generateButton->setEnabled(false);
        ApplyText(customText.GetText());
        if (fileTitleShown) {
            setWindowTitle(fileTitle);
        }
    } else {
        generateButton->setEnabled(true);
        setWindowTitle(baseTitle);
        OnGenerate();
    }
    shortZerosBox->setEnabled(kind == kDigitText);
}

void CMorseDlg::OnExit() {
    close();
}

void CMorseDlg::OnSteppingMode() {
    // The action has already toggled its own check mark.
    const bool on = IsMenuItemChecked(ids::kMenuStepping);
    stepButton->setEnabled(on);
    pauseButton->setEnabled(!on && !idle);
}

void CMorseDlg::OnTextSpeedChange() {
    UpdateData(true);
    engine->SetTextSpeed(kTextSpeeds[static_cast<std::size_t>(textSpeedIndex)]);
    const int raised = SignIndexAfterTextChange(textSpeedIndex, signSpeedIndex);
    if (raised != signSpeedIndex) {
        signSpeedIndex = raised;
        UpdateData(false);
        OnSignSpeedChange();
    }
    OnRatioChange();
}

void CMorseDlg::OnSignSpeedChange() {
    UpdateData(true);
    engine->SetSignSpeed(kSignSpeeds[static_cast<std::size_t>(signSpeedIndex)]);
    const int lowered = TextIndexAfterSignChange(signSpeedIndex, textSpeedIndex);
    if (lowered != textSpeedIndex) {
        textSpeedIndex = lowered;
        UpdateData(false);
        OnTextSpeedChange();
    }
    OnRatioChange();
}

void CMorseDlg::OnToneChange() {
    UpdateData(true);
    engine->SetToneFrequency(kToneFrequencies[static_cast<std::size_t>(toneIndex)]);
}

void CMorseDlg::OnRatioChange() {
    UpdateData(true);
    engine->SetDashRatio(kDashRatios[static_cast<std::size_t>(ratioIndex)]);
    textSpeedResult->SetFullText(QString::number(engine->GetEffectiveTextSpeed()));
    signSpeedResult->SetFullText(QString::number(engine->GetEffectiveSignSpeed()));
}

void CMorseDlg::OnGenerate() {
    UpdateData(true);
    if (kind == kCustomText) {
        return;
    }
    std::string generated;
    if (kind == kLessonText) {
        const CKochCourse lesson(course.order, course.lesson);
        generated = lesson.Generate(PracticeSet(lesson.DrawingSet()), CRandomSource::TickSeed());
    } else {
        const std::string set = kind == kLetterText  ? letterSet
                                : kind == kDigitText ? digitSet
                                                     : letterSet + digitSet;
        CMorseText generator;
        generated = generator.Generate(PracticeSet(set), kind);
    }
    if (generated.empty()) {
        // An empty set (or one of spaces only) leaves nothing to draw: keep the text there is.
        messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                          messages::NothingToGenerate(), this);
        return;
    }
    ApplyText(generated);
}

void CMorseDlg::ApplyText(const std::string& text) {
    currentText.SetText(text);
    currentText.SetKind(kind);
    currentText.SetShortZeros(shortZerosBox->isChecked() ? 1 : 0);
    displayText = currentText.FormatLines();
    morseView->SetFullText(FromCp1250(displayText));
}

void CMorseDlg::RefreshAfterSend() {
    if (morseView->GetFullText() == FromCp1250(currentText.FormatLines())) {
        ApplyText(currentText.GetText());
    } else {
        ApplyText(customText.GetText());
    }
}

void CMorseDlg::EnableIdleControls(bool enable) {
    for (const int id : {ids::kLoad, ids::kSave, ids::kCustom, ids::kToPrint}) {
        Control(id)->setEnabled(enable);
    }
    generateButton->setEnabled(enable && kind != kCustomText);
    kindList->setEnabled(enable);
    shortZerosBox->setEnabled(enable && kind == kDigitText);
    for (QMenu* menu : menus) {
        menu->menuAction()->setEnabled(enable);
    }
}

void CMorseDlg::OnStart() {
    idle = false;
    UpdateData(true);
    startButton->setEnabled(false);
    EnableIdleControls(false);
    engine->SetText(customMode ? customText : currentText);
    ++transmission;
    lastSentText.clear();
    lastSending = SendingRecord();
    stoppedEarly = false;
    const bool stepping = IsMenuItemChecked(ids::kMenuStepping);
    stopButton->setEnabled(true);
    pauseButton->setEnabled(!stepping);
    if (!engine->Start(displayText, stepping)) {
        ShowError(messages::ThreadFailed());
        stoppedEarly = true;
        OnSendingFinished();
    }
}

void CMorseDlg::OnStop() {
    stoppedEarly = true;
    stopButton->setDown(true);
    engine->RequestStop();
    if (paused || IsMenuItemChecked(ids::kMenuStepping)) {
        engine->Resume();
    }
    paused = false;
}

void CMorseDlg::OnPause() {
    const bool wasPaused = paused;
    paused = !paused;
    if (wasPaused) {
        engine->Resume();
    }
    engine->RequestPause(paused);
}

void CMorseDlg::OnStep() {
    if (!idle) {
        engine->Resume();
    }
}

int CMorseDlg::DisplayDelayMilliseconds() {
    // The marking follows the sound as it is heard, not as it is queued.
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(engine->Device().OutputLatency())
            .count());
}

void CMorseDlg::OnSentTextChanged(const QString& sentText, int sentTransmission) {
    const auto apply = [this, sentText, sentTransmission] {
        if (sentTransmission == transmission && !idle) {
            morseView->SetSentText(sentText);
            lastSentText = sentText;
        }
    };
    const int delay = DisplayDelayMilliseconds();
    if (delay > 0) {
        QTimer::singleShot(delay, Qt::PreciseTimer, this, apply);
    } else {
        apply();
    }
}

void CMorseDlg::OnTransmissionEnded(int endedTransmission) {
    const auto finish = [this, endedTransmission] {
        if (endedTransmission == transmission && !idle) {
            OnSendingFinished();
        }
    };
    const int delay = DisplayDelayMilliseconds();
    if (delay > 0) {
        QTimer::singleShot(delay, Qt::PreciseTimer, this, finish);
    } else {
        finish();
    }
}

void CMorseDlg::OnSendingFinished() {
    // A transmission that ran to its end sent the whole text, however far the marking got.
    if (!stoppedEarly) {
        lastSentText = FromCp1250(displayText);
    }
    startButton->setEnabled(true);
    idle = true;
    paused = false;
    stopButton->setDown(false);
    stopButton->setEnabled(false);
    pauseButton->setEnabled(false);
    RefreshAfterSend();
    EnableIdleControls(true);
}

void CMorseDlg::OnLettersChange() {
    // Letters are sent as capitals, and shown and stored as they are sent.
    const QString typed = lettersEdit->text();
    const QString upper = typed.toUpper();
    if (upper != typed) {
        const int caret = lettersEdit->cursorPosition();
        lettersEdit->setText(upper);
        lettersEdit->setCursorPosition(caret);
    }
    UpdateData(true);
    const int removed = CMorseTable::RemoveInvalidCharacters(letterSet, true, notifier);
    if (removed >= 0) {
        UpdateData(false);
        lettersEdit->setCursorPosition(removed);
    }
}

void CMorseDlg::OnVolumeScroll(int position) {
    const auto level = static_cast<std::uint32_t>(std::clamp(position, 0, kVolumeMaximum));
    engine->SetVolume(level | (level << 16));
}

void CMorseDlg::OnRemember() {
    rememberFlag = IsMenuItemChecked(ids::kMenuRemember);
}

void CMorseDlg::OnShortZeros() {
    currentText.SetShortZeros(shortZerosBox->isChecked() ? 1 : 0);
}

void CMorseDlg::reject() {
    close();
}

void CMorseDlg::accept() {
    close();
}

void CMorseDlg::closeEvent(QCloseEvent* event) {
    if (!closing) {
        if (!startButton->isEnabled()) {
            OnStop();
        }
        SaveSettings();
    }
    closing = true;
    event->accept();
}

int CMorseDlg::RunDialog(QDialog& dialog) {
    return environment.runDialog ? environment.runDialog(dialog) : dialog.exec();
}

QString CMorseDlg::LanguageFile(const char* name) const {
    return languageActive ? programFolder + QStringLiteral("jazyk/") + QLatin1String(name)
                          : QString();
}

void CMorseDlg::EnableOutputControls() {
    const int outputKind = engine->GetOutputKind();
    volumeSlider->setEnabled(outputKind == kSoundCardOutput);
    Control(ids::kVolumeFrame)->setEnabled(outputKind == kSoundCardOutput);
    toneList->setEnabled(outputKind != kSerialPortOutput);
}

QString CMorseDlg::BrowseTextFile(bool open) {
    const QString path =
        open ? desktop.OpenFileName(this, lastFolder) : desktop.SaveFileName(this, lastFolder);
    if (path.isEmpty()) {
        return {};
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    lastFolder = slash < 0 ? QString() : path.left(slash + 1);
    return path;
}

void CMorseDlg::WriteTextFile(const QString& path, bool append, bool pad) {
    const std::string bytes = customMode
                                  ? (pad ? customText.FormatPadded() : customText.FormatLines())
                                  : currentText.FormatLines();
    WriteFileBytesOrNotify(path.toStdString(), bytes, append, notifier);
}

void CMorseDlg::OnSaveText() {
    if (morseView->GetFullText().isEmpty()) {
        messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                          QStringLiteral("UPOZORNĚNÍ: Není generován, ani vytvořen vlastní "
                                         "text!\nProto není možné text uložit."),
                          this);
        return;
    }
    const QString path = BrowseTextFile(false);
    if (!path.isEmpty()) {
        WriteTextFile(path, false, false);
    }
}

void CMorseDlg::OnSaveSound() {
    const CMorseText& text = customMode ? customText : currentText;
    if (morseView->GetFullText().isEmpty()) {
        messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                          messages::NothingToSaveAsSound(), this);
        return;
    }
    const QString path = desktop.SaveSoundFileName(this, lastFolder);
    if (path.isEmpty()) {
        return;
    }
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    lastFolder = slash < 0 ? QString() : path.left(slash + 1);
    UpdateData(true);
    // The current speeds, ratio and tone on the timeline the sound card keys, at full scale.
    const CTransmissionTimeline timeline(
        text, engine->GetSignSpeed(), engine->GetTextSpeed(),
        kDashRatios[static_cast<std::size_t>(std::clamp(ratioIndex, 0, 10))]);
    WriteFileBytesOrNotify(path.toStdString(),
                           soundfile::RenderWav(timeline, engine->GetToneFrequency(), 1.0F), false,
                           notifier);
}

void CMorseDlg::OnLoadText() {
    const QString path = BrowseTextFile(true);
    if (!path.isEmpty()) {
        LoadTextFile(path, true);
    }
}

void CMorseDlg::LoadTextFile(const QString& path, bool fromUser) {
    // A file that is missing, empty or unreadable changes nothing and says nothing.
    const std::optional<std::string> bytes = ReadFileBytes(path.toStdString());
    if (!bytes) {
        return;
    }
    if (fromUser) {
        customText = CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier);
        morseView->SetFullText(FromCp1250(customText.FormatLines()));
        kind = kCustomText;
        UpdateData(false);
        OnKindChange();
        fileTitle = baseTitle + QStringLiteral(" - ") + path;
        setWindowTitle(fileTitle);
        fileTitleShown = true;
    } else {
        if (kind == kCustomText) {
            customText = CMorseText::LoadFromFileContents(*bytes, kCustomText, notifier);
            ApplyText(customText.GetText());
        } else {
            currentText = CMorseText::LoadFromFileContents(*bytes, kind, notifier);
            ApplyText(currentText.GetText());
        }
        OnShortZeros();
        UpdateData(false);
    }
}

void CMorseDlg::OnCustomText() {
    CVlastniTextDlg dialog(LanguageFile("localUT"), notifier, this);
    const std::string old = customText.GetText();
    dialog.SetText(old);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    kind = kCustomText;
    customText.SetText(dialog.GetText());
    customText.SetKind(kCustomText);
    UpdateData(false);
    OnKindChange();
    if (customText.GetText() != old) {
        fileTitleShown = false;
        setWindowTitle(baseTitle);
    }
}

void CMorseDlg::OnOutputSettings() {
    QStringList ports;
    if (environment.serialPorts) {
        ports = environment.serialPorts();
    } else {
        for (const std::string& port : ListSerialPorts(CPosixSystemCalls::Instance())) {
            ports << QString::fromStdString(port);
        }
    }
    CVystupDlg dialog(*engine, LanguageFile("localSO"), ports, messageBoxes, this);
    RunDialog(dialog);
    EnableOutputControls();
}

void CMorseDlg::OnAbout() {
    CInfoDlg dialog(LanguageFile("localAbout"), this);
    RunDialog(dialog);
}

void CMorseDlg::OnHelpContents() {
    const QString help = environment.helpPage.value_or(QCoreApplication::applicationDirPath() +
                                                       QStringLiteral("/brumlo.html"));
    if (!desktop.OpenHelp(help)) {
        ShowError(QStringLiteral("Failed to launch help."));
    }
}

QStringList CMorseDlg::CzechCaptions() {
    QStringList texts;
    for (const CaptionTarget& target : kCaptionTargets) {
        texts << QString::fromUtf8(target.czech);
    }
    return texts;
}

void CMorseDlg::ApplyCaption(const CaptionTarget& target, const QString& text) {
    switch (target.kind) {
        case CaptionTarget::Kind::Menu:
            menus[static_cast<std::size_t>(target.id)]->setTitle(text);
            break;
        case CaptionTarget::Kind::Command:
            // Changing the text keeps the check mark.
            commands[target.id]->setText(text);
            break;
        case CaptionTarget::Kind::Control:
            if (auto* button = qobject_cast<QAbstractButton*>(Control(target.id))) {
                button->setText(text);
            } else if (auto* label = qobject_cast<QLabel*>(Control(target.id))) {
                label->setText(text);
            } else if (auto* frame = qobject_cast<QGroupBox*>(Control(target.id))) {
                frame->setTitle(text);
            }
            break;
        case CaptionTarget::Kind::TextKind:
            // The lesson kind, which follows the five of the original list.
            lessonKindName = text;
            if (kindList->count() > kLessonText) {
                kindList->setItemText(kLessonText, text);
            } else {
                kindList->addItem(text);
            }
            break;
    }
}

void CMorseDlg::ApplyCaptions(const QStringList& texts) {
    QStringList kinds;
    for (int k = 0; k < kMainCaptions; ++k) {
        const CaptionTarget& target = kCaptionTargets[static_cast<std::size_t>(k)];
        const QString text = texts.value(k);
        if (target.kind != CaptionTarget::Kind::TextKind) {
            ApplyCaption(target, text);
            continue;
        }
        kinds << text;
        if (kinds.size() == 5) {
            // The list is rebuilt with the kind that was selected before.
            const int selected = kindList->currentIndex();
            kindList->clear();
            kindList->addItems(kinds);
            if (!lessonKindName.isEmpty()) {
                kindList->addItem(lessonKindName);
            }
            kindList->setCurrentIndex(selected);
        }
    }
}

QStringList CMorseDlg::CzechTrainingCaptions() {
    QStringList texts;
    for (const CaptionTarget& target : kTrainingCaptionTargets) {
        texts << QString::fromUtf8(target.czech);
    }
    return texts;
}

void CMorseDlg::ApplyTrainingCaptions(const QStringList& texts) {
    for (int k = 0; k < kTrainingCaptions; ++k) {
        ApplyCaption(kTrainingCaptionTargets[static_cast<std::size_t>(k)], texts.value(k));
    }
}

void CMorseDlg::OnLanguageChange() {
    // The action has already toggled its check mark.
    languageActive = IsMenuItemChecked(ids::kMenuLanguage);
    const QString file = programFolder + QStringLiteral("jazyk/local");
    if (!languageActive) {
        ApplyCaptions(CzechCaptions());
        ApplyTrainingCaptions(CzechTrainingCaptions());
    } else if (const auto texts = ReadCaptions(file, kMainCaptions)) {
        ApplyCaptions(*texts);
        ApplyTrainingCaptions(ReadCaptionsOver(file, kMainCaptions, CzechTrainingCaptions()));
    }
}

void CMorseDlg::SaveSettings() {
    UpdateData(true);
    Settings settings;
    settings.remember = IsMenuItemChecked(ids::kMenuRemember);
    settings.portName = engine->GetPortName();
    settings.outputKind = engine->GetOutputKind();
    settings.letters = letterSet;
    settings.digits = digitSet;
    settings.shortZeros = shortZerosBox->isChecked();
    settings.textKind = kind;
    settings.toneIndex = toneIndex;
    settings.textSpeedIndex = textSpeedIndex;
    settings.signSpeedIndex = signSpeedIndex;
    settings.ratioIndex = ratioIndex;
    settings.stepping = IsMenuItemChecked(ids::kMenuStepping);
    settings.language = IsMenuItemChecked(ids::kMenuLanguage);
    settings.hideText = hideTextBox->isChecked();
    const std::string init = (programFolder + QStringLiteral("init")).toStdString();
    if (!WriteFileBytesOrNotify(init, FormatSettings(settings), false, notifier)) {
        return;
    }
    const QString initt = programFolder + QStringLiteral("initt");
    if (rememberFlag) {
        WriteTextFile(initt, false, false);
    } else {
        QFile::remove(initt);
    }
}

void CMorseDlg::LoadSettings() {
    // An empty file is fourteen empty lines: remember is off.
    const std::optional<std::string> bytes =
        ReadFileBytes((programFolder + QStringLiteral("init")).toStdString(), EmptyFile::Contents);
    if (!bytes) {
        return;
    }
    const std::vector<std::string> lines = SplitSettingsLines(*bytes);
    const auto number = [&lines](std::size_t line) { return ParseNumber(lines[line - 1]); };
    if (number(1) == 0) {
        rememberFlag = false;
        commands[ids::kMenuRemember]->trigger();
        return;
    }
    rememberFlag = true;
    engine->SetPortName(lines[1]);
    const int outputKind = number(3);
    const bool opened = outputKind >= kSpeakerOutput && outputKind <= kSerialPortOutput &&
                        engine->SelectOutput(outputKind);
    if (!opened && !engine->OpenDefaultOutput()) {
        ShowError(messages::NoOutput());
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    // A hand-edited file is cleaned as typing into the boxes is: letters become capitals and
    // lose digits and characters without a code (with a warning each), the digits keep digits.
    // Each box holds what it can show, no more.
    const auto boxed = [this](const std::string& line) {
        return line.substr(0, static_cast<std::size_t>(lettersEdit->maxLength()));
    };
    letterSet = ToCp1250(FromCp1250(boxed(lines[3])).toUpper());
    CMorseTable::RemoveInvalidCharacters(letterSet, true, notifier);
    digitSet.clear();
    const std::string digits = boxed(lines[4]);
    std::copy_if(digits.begin(), digits.end(), std::back_inserter(digitSet),
                 [](char c) { return c >= '0' && c <= '9'; });
    shortZerosBox->setChecked(number(6) != 0);
    UpdateData(false);
    OnShortZeros();

    // Each list index is applied through its list's handler; one outside its list keeps the
    // value there is.
    const auto restore = [&](std::size_t line, int& member, int count,
                             void (CMorseDlg::*handler)()) {
        const int index = number(line);
        if (index >= 0 && index < count) {
            member = index;
        }
        UpdateData(false);
        (this->*handler)();
    };
    restore(7, kind, kLessonText + 1, &CMorseDlg::OnKindChange);
    restore(8, toneIndex, static_cast<int>(kToneFrequencies.size()), &CMorseDlg::OnToneChange);
    restore(9, textSpeedIndex, static_cast<int>(kTextSpeeds.size()), &CMorseDlg::OnTextSpeedChange);
    restore(10, signSpeedIndex, static_cast<int>(kSignSpeeds.size()),
            &CMorseDlg::OnSignSpeedChange);
    restore(11, ratioIndex, static_cast<int>(kDashRatios.size()), &CMorseDlg::OnRatioChange);
    if (number(12) != 0) {
        commands[ids::kMenuStepping]->trigger();
    }
    if (number(13) != 0) {
        commands[ids::kMenuLanguage]->trigger();
    }
    if (number(14) != 0) {
        hideTextBox->setChecked(true);
        OnHideText();
    }
    UpdateData(false);
    EnableOutputControls();

    const QString initt = programFolder + QStringLiteral("initt");
    if (QFile::exists(initt)) {
        LoadTextFile(initt, false);
    }
}

void CMorseDlg::OnToPrint() {
    if (displayText.empty()) {
        messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                          QStringLiteral("UPOZORNĚNÍ: Není generován, ani vytvořen vlastní "
                                         "text!\nProto nelze vložit text do tisku."),
                          this);
        return;
    }
    WriteTextFile(programFolder + QStringLiteral("tisk.tmp"), true, true);
}

void CMorseDlg::OnPrint() {
    const QString collection = programFolder + QStringLiteral("tisk.tmp");
    CTiskDlg job(desktop, this);
    if (!QFile::exists(collection)) {
        OnToPrint();
    }
    if (QFile::exists(collection)) {
        job.PrintCollection(collection);
    }
    // Printed, cancelled or failed: the collection is empty again.
    QFile::remove(collection);
}

CheckRecord CMorseDlg::SendingRecord() const {
    CheckRecord record;
    record.kind = kind;
    record.signSpeed = engine->GetSignSpeed();
    record.textSpeed = engine->GetTextSpeed();
    record.lesson = kind == kLessonText ? CKochCourse(course.order, course.lesson).Lesson() : 0;
    record.ratioTenths = static_cast<int>(
        std::lround(10 * kDashRatios[static_cast<std::size_t>(std::clamp(ratioIndex, 0, 10))]));
    return record;
}

void CMorseDlg::OnCopyCheck() {
    if (!idle) {
        return;
    }
    // What the last transmission sent (up to where it was stopped); before any transmission, the
    // text on display, copied from a print or a file perhaps.
    const bool sent = !lastSentText.isEmpty();
    const QString checked = sent ? lastSentText : morseView->GetFullText();
    if (checked.trimmed().isEmpty()) {
        messageBoxes.Show(CMessageBoxes::Icon::Warning, messages::kCaption,
                          messages::NothingToCheck(), this);
        return;
    }
    CKontrolaDlg check(checked, sent ? lastSending : SendingRecord(),
                       programFolder + QString::fromLatin1(CHistoryFile::kFileName),
                       LanguageFile("localKO"), notifier, desktop, this);
    RunDialog(check);
    // A lesson copied well enough offers the next one; the user decides.
    const CKochCourse lesson(course.order, check.Record().lesson);
    if (check.Result() && check.Record().kind == kLessonText &&
        CKochCourse::OffersNextLesson(check.Result()->ScorePercent(), lesson.Lesson(),
                                      lesson.LessonCount()) &&
        messageBoxes.Ask(messages::kCaption, messages::NextLesson(lesson.Lesson() + 1), this)) {
        course.lesson = lesson.Lesson() + 1;
        SaveCourse();
        if (kind == kLessonText) {
            OnGenerate();
        }
    }
}

std::string CMorseDlg::CourseFilePath() const {
    return (programFolder + QString::fromLatin1(CCourseFile::kFileName)).toStdString();
}

void CMorseDlg::SaveCourse() {
    WriteFileBytesOrNotify(CourseFilePath(), CCourseFile::Format(course), false, notifier);
}

std::string CMorseDlg::PracticeSet(const std::string& set) const {
    if (!course.weakCharacters) {
        return set;
    }
    const std::string history =
        (programFolder + QString::fromLatin1(CHistoryFile::kFileName)).toStdString();
    return CCharacterWeights(CHistoryFile(history).Read()).Weighted(set);
}

void CMorseDlg::OnCourse() {
    CKochDlg dialog(course.order, course.lesson, LanguageFile("localKM"), notifier, this);
    if (RunDialog(dialog) != QDialog::Accepted) {
        return;
    }
    course.order = dialog.GetOrder();
    course.lesson = dialog.GetLesson();
    SaveCourse();
    kind = kLessonText;
    UpdateData(false);
    OnKindChange();
}

void CMorseDlg::OnWeakCharacters() {
    // The action has already toggled its check mark.
    course.weakCharacters = IsMenuItemChecked(ids::kMenuWeakCharacters);
    SaveCourse();
}

void CMorseDlg::OnStatistics() {
    const std::vector<CheckRecord> records =
        CHistoryFile((programFolder + QString::fromLatin1(CHistoryFile::kFileName)).toStdString())
            .Read();
    QStringList kinds;
    for (int k = 0; k < kindList->count(); ++k) {
        kinds << kindList->itemText(k);
    }
    CStatistikaDlg statistics(records, kinds, LanguageFile("localST"), this);
    RunDialog(statistics);
}
