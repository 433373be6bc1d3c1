#include "ui/CMorseDlg.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
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

#include "core/CCuePlayer.h"
#include "core/Timing.h"
#include "training/CCallsignRecordsFile.h"
#include "training/CRecognitionFile.h"
#include "ui/Accessibility.h"
#include "ui/CInfoDlg.h"
#include "ui/CKochDlg.h"
#include "ui/CKontrolaDlg.h"
#include "ui/CMnemonicKeys.h"
#include "ui/CPodminkyDlg.h"
#include "ui/CPostedEngineEvents.h"
#include "ui/CRozpoznaniDlg.h"
#include "ui/CStatistikaDlg.h"
#include "ui/CTextView.h"
#include "ui/CTiskDlg.h"
#include "ui/CVlastniTextDlg.h"
#include "ui/CVolaciZnakyDlg.h"
#include "ui/CVystupDlg.h"
#include "ui/CZvukDlg.h"
#include "ui/Captions.h"
#include "ui/ControlIds.h"
#include "ui/Cp1250.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/RulerPainter.h"
#include "ui/TrafficCaptions.h"

namespace {

constexpr int kVolumeStep = 8191;

template <std::size_t N>
void FillNumberList(QComboBox* list, const std::array<int, N>& values) {
    for (const int value : values) {
        list->addItem(QString::number(value));
    }
}

template <typename Widget, typename Value>
void SetIfDifferent(Widget* widget, const Value& value, Value (Widget::*get)() const,
                    void (Widget::*set)(const Value&)) {
    if ((widget->*get)() != value) {
        (widget->*set)(value);
    }
}

}  // namespace

CMorseDlg::CMorseDlg(DialogEnvironment dialogEnvironment, QWidget* parent)
    : QDialog(parent),
      environment(std::move(dialogEnvironment)),
      messageBoxes(environment.messageBoxes != nullptr ? *environment.messageBoxes
                                                       : qtMessageBoxes),
      desktop(environment.desktop != nullptr ? *environment.desktop : qtDesktop),
      notifier(messageBoxes, this),
      engineEvents(std::make_unique<CPostedEngineEvents>(
          *this, [this] { return session->Transmission(); },
          [this](const std::string& sent, int number) { OnSentTextChanged(sent, number); },
          [this](int number) { OnTransmissionEnded(number); })) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/brumlo/icon.png")));
    InstallAccessibleInterfaces();
    CreateControls();
    CreateMenu();
    ApplyCaptions(CzechCaptions());
    ApplyTrainingCaptions(CzechTrainingCaptions());
    ApplyTrafficCaptions(BuiltInCaptions(kTrafficCaptionTargets));
    messages::UseLanguageFile(QString());
    ConnectSignals();
    new CMnemonicKeys(*this, *menuBar);
    InitDialog();
}

CMorseDlg::~CMorseDlg() {
    // The engine stops a running transmission and joins its threads before anything it reports
    // to is destroyed; the session then clears the print collection.
    engine.reset();
    session.reset();
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
    volumeSlider->setRange(0, CMorseSession::kVolumeMaximum);
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

    // The display is reached by the keyboard like any control, so that a reader reads it; the
    // read-outs are labels that show a value.
    morseView->setFocusPolicy(Qt::StrongFocus);
    textSpeedResult->SetReadOut(true);
    signSpeedResult->SetReadOut(true);
    // The keyboard goes through the window as it reads: the check box above the text, the text,
    // then the columns from the left (generator, text, output) and the sending buttons below.
    const int order[] = {ids::kHideText,   ids::kMorseText, ids::kLetters,  ids::kDigits,
                         ids::kShortZeros, ids::kTextKind,  ids::kGenerate, ids::kLoad,
                         ids::kSave,       ids::kCustom,    ids::kToPrint,  ids::kTone,
                         ids::kTextSpeed,  ids::kSignSpeed, ids::kRatio,    ids::kVolume,
                         ids::kStart,      ids::kStop,      ids::kPause,    ids::kStep};
    for (std::size_t k = 1; k < std::size(order); ++k) {
        setTabOrder(Control(order[k - 1]), Control(order[k]));
    }
}

void CMorseDlg::NameControls() {
    // Each field, list and read-out is named by its label, each frame's one control by the frame;
    // the language set renames them with the captions.
    const std::pair<int, int> labelled[] = {
        {ids::kLettersLabel, ids::kLetters},      {ids::kDigitsLabel, ids::kDigits},
        {ids::kTextKindLabel, ids::kTextKind},    {ids::kToneLabel, ids::kTone},
        {ids::kTextSpeedLabel, ids::kTextSpeed},  {ids::kSignSpeedLabel, ids::kSignSpeed},
        {ids::kRatioLabel, ids::kRatio},          {ids::kResultTextLabel, ids::kResultText},
        {ids::kResultSignLabel, ids::kResultSign}};
    for (const auto& [label, control] : labelled) {
        NameFromLabel(*qobject_cast<QLabel*>(Control(label)), *Control(control));
    }
    const auto frameTitle = [this](int frame) {
        return SpokenCaption(qobject_cast<QGroupBox*>(Control(frame))->title());
    };
    morseView->setAccessibleName(frameTitle(ids::kMorseTextFrame));
    volumeSlider->setAccessibleName(frameTitle(ids::kVolumeFrame));
    const QString heading = qobject_cast<QLabel*>(Control(ids::kResultHeading))->text();
    textSpeedResult->setAccessibleDescription(heading);
    signSpeedResult->setAccessibleDescription(heading);
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
    add(file, ids::kMenuSoundOptions);
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
    training->addSeparator();
    add(training, ids::kMenuInstantRecognition);
    add(training, ids::kMenuCallsigns);
    training->addSeparator();
    add(training, ids::kMenuReceptionConditions);
    menus = {file, settings, help, training};
}

void CMorseDlg::ConnectSignals() {
    const auto command = [this](int id, void (CMorseDlg::*handler)()) {
        connect(commands[id], &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    // The check boxes act on every change of their marks but the window's own (a click, the
    // keyboard, or a screen reader's toggle).
    connect(hideTextBox, &QCheckBox::toggled, this, [this] {
        if (!rendering) {
            OnHideText();
        }
    });
    connect(kindList, &QComboBox::activated, this, [this] { OnKindChange(); });
    command(ids::kMenuExit, &CMorseDlg::OnExit);
    command(ids::kMenuStepping, &CMorseDlg::OnSteppingMode);
    connect(textSpeedList, &QComboBox::activated, this, [this] { OnTextSpeedChange(); });
    connect(signSpeedList, &QComboBox::activated, this, [this] { OnSignSpeedChange(); });
    connect(toneList, &QComboBox::activated, this, [this] { OnToneChange(); });
    connect(generateButton, &QPushButton::clicked, this, [this] { OnGenerate(); });
    connect(stepButton, &QPushButton::clicked, this, [this] { OnStep(); });
    connect(pauseButton, &QPushButton::clicked, this, [this] { OnPause(); });
    connect(startButton, &QPushButton::clicked, this, [this] { OnStart(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { OnStop(); });
    connect(lettersEdit, &QLineEdit::textChanged, this, [this] { OnLettersChange(); });
    connect(digitsEdit, &QLineEdit::textChanged, this, [this] { OnDigitsChange(); });
    connect(volumeSlider, &QSlider::valueChanged, this,
            [this](int value) { OnVolumeScroll(value); });
    connect(ratioList, &QComboBox::activated, this, [this] { OnRatioChange(); });
    command(ids::kMenuRemember, &CMorseDlg::OnRemember);
    command(ids::kMenuLanguage, &CMorseDlg::OnLanguageChange);
    connect(shortZerosBox, &QCheckBox::toggled, this, [this] {
        if (!rendering) {
            OnShortZeros();
        }
    });
    command(ids::kMenuLoadText, &CMorseDlg::OnLoadText);
    const auto button = [this](int id) { return qobject_cast<QPushButton*>(Control(id)); };
    connect(button(ids::kLoad), &QPushButton::clicked, this, [this] { OnLoadText(); });
    command(ids::kMenuSaveText, &CMorseDlg::OnSaveText);
    connect(button(ids::kSave), &QPushButton::clicked, this, [this] { OnSaveText(); });
    connect(button(ids::kCustom), &QPushButton::clicked, this, [this] { OnCustomText(); });
    command(ids::kMenuOutput, &CMorseDlg::OnOutputSettings);
    command(ids::kMenuAbout, &CMorseDlg::OnAbout);
    connect(button(ids::kToPrint), &QPushButton::clicked, this, [this] { OnToPrint(); });
    command(ids::kMenuPrint, &CMorseDlg::OnPrint);
    command(ids::kMenuHelpContents, &CMorseDlg::OnHelpContents);
    command(ids::kMenuCopyCheck, &CMorseDlg::OnCopyCheck);
    command(ids::kMenuStatistics, &CMorseDlg::OnStatistics);
    command(ids::kMenuCourse, &CMorseDlg::OnCourse);
    command(ids::kMenuSaveSound, &CMorseDlg::OnSaveSound);
    command(ids::kMenuWeakCharacters, &CMorseDlg::OnWeakCharacters);
    command(ids::kMenuReceptionConditions, &CMorseDlg::OnReceptionConditions);
    command(ids::kMenuSoundOptions, &CMorseDlg::OnSoundOptions);
    command(ids::kMenuInstantRecognition, &CMorseDlg::OnInstantRecognition);
    command(ids::kMenuCallsigns, &CMorseDlg::OnCallsigns);
}

void CMorseDlg::InitDialog() {
    // The program folder: the current directory at start-up.
    const QString folder = environment.programFolder.value_or(QDir::currentPath());
    LayoutControls();

    FillNumberList(signSpeedList, kSignSpeeds);
    FillNumberList(toneList, kToneFrequencies);
    FillNumberList(textSpeedList, kTextSpeeds);
    for (const std::string_view label : kDashRatioLabels) {
        ratioList->addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
    }

    engine = environment.engines(engineEvents.get(), notifier);
    session =
        std::make_unique<CMorseSession>(*engine, notifier, CProgramFiles(folder.toStdString()));
    const bool usable = session->StartUp();
    Render();
    if (!usable) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void CMorseDlg::UpdateData(bool toMembers) {
    if (toMembers) {
        session->TypeLetters(ToCp1250(lettersEdit->text()), lettersEdit->cursorPosition());
        session->TypeDigits(ToCp1250(digitsEdit->text()));
    } else {
        Render();
    }
}

void CMorseDlg::Render() {
    const SessionView view = session->View();
    rendering = true;
    if (view.language != captionsLanguage) {
        RenderCaptions(view.language);
    }
    kindList->setCurrentIndex(view.kind);
    textSpeedList->setCurrentIndex(view.textSpeedIndex);
    signSpeedList->setCurrentIndex(view.signSpeedIndex);
    toneList->setCurrentIndex(view.toneIndex);
    ratioList->setCurrentIndex(view.ratioIndex);
    SetIfDifferent(lettersEdit, FromCp1250(view.letters), &QLineEdit::text, &QLineEdit::setText);
    SetIfDifferent(digitsEdit, FromCp1250(view.digits), &QLineEdit::text, &QLineEdit::setText);
    volumeSlider->setValue(view.volume);
    SetIfDifferent(morseView, FromCp1250(view.displayText), &CTextView::GetFullText,
                   &CTextView::SetFullText);
    SetIfDifferent(morseView, FromCp1250(view.sentText), &CTextView::GetSentText,
                   &CTextView::SetSentText);
    morseView->ShowText(!view.hideText);
    SetIfDifferent(textSpeedResult, QString::number(view.effectiveTextSpeed),
                   &CTextView::GetFullText, &CTextView::SetFullText);
    SetIfDifferent(signSpeedResult, QString::number(view.effectiveSignSpeed),
                   &CTextView::GetFullText, &CTextView::SetFullText);
    setWindowTitle(QString::fromStdString(view.title));

    hideTextBox->setChecked(view.hideText);
    shortZerosBox->setChecked(view.shortZeros);
    commands[ids::kMenuStepping]->setChecked(view.stepping);
    commands[ids::kMenuLanguage]->setChecked(view.language);
    commands[ids::kMenuRemember]->setChecked(view.remember);
    commands[ids::kMenuWeakCharacters]->setChecked(view.weakCharacters);

    startButton->setEnabled(view.startEnabled);
    stopButton->setEnabled(view.stopEnabled);
    stopButton->setDown(view.stopDown);
    pauseButton->setEnabled(view.pauseEnabled);
    stepButton->setEnabled(view.stepEnabled);
    generateButton->setEnabled(view.generateEnabled);
    kindList->setEnabled(view.kindEnabled);
    shortZerosBox->setEnabled(view.shortZerosEnabled);
    for (const int id : {ids::kLoad, ids::kSave, ids::kCustom, ids::kToPrint}) {
        Control(id)->setEnabled(view.textCommandsEnabled);
    }
    for (QMenu* menu : menus) {
        menu->menuAction()->setEnabled(view.menusEnabled);
    }
    volumeSlider->setEnabled(view.volumeEnabled);
    Control(ids::kVolumeFrame)->setEnabled(view.volumeEnabled);
    toneList->setEnabled(view.toneEnabled);
    rendering = false;
}

void CMorseDlg::RenderCaptions(bool language) {
    captionsLanguage = language;
    // The messages follow the language set, with the captions.
    messages::UseLanguageFile(
        language ? QString::fromStdString(session->Files().Language("localMS")) : QString());
    // The ratios are numbers: they take the language's decimal sign.
    for (int i = 0; i < ratioList->count(); ++i) {
        const std::string_view label = kDashRatioLabels[static_cast<std::size_t>(i)];
        ratioList->setItemText(i,
                               QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size()))
                                   .replace(QLatin1Char(','), messages::DecimalSign()));
    }
    const QString file = QString::fromStdString(session->Files().Language("local"));
    if (!language) {
        ApplyCaptions(CzechCaptions());
        ApplyTrainingCaptions(CzechTrainingCaptions());
        ApplyTrafficCaptions(BuiltInCaptions(kTrafficCaptionTargets));
    } else if (const auto texts = ReadCaptions(file, kMainCaptions)) {
        ApplyCaptions(*texts);
        ApplyTrainingCaptions(ReadCaptionsOver(file, kMainCaptions, CzechTrainingCaptions()));
        ApplyTrafficCaptions(ReadCaptionsOver(file, kMainCaptions + kTrainingCaptions,
                                              BuiltInCaptions(kTrafficCaptionTargets)));
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

    const int top = ContentTop();
    menuBar->setGeometry(0, 0, std::max(layout.W, 200), top);
    for (const auto& [id, rect] : layout.controls) {
        if (QWidget* widget = Control(id)) {
            widget->setGeometry(rect.x, rect.y + top, rect.width, rect.height);
        }
    }
    for (CTextView* result : {textSpeedResult, signSpeedResult}) {
        result->SetFontFace(fontName);
        result->SetFontPointSize(fontSize);
    }
    resize(layout.W, layout.H + top);
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
    if (layout.sixCharacters > 0) {
        QPainter painter(this);
        painter.translate(0, ContentTop());
        PaintRulers(painter, layout, fontName, palette(),
                    QString::fromUtf8(CMorseSession::kBaseTitle.data(),
                                      static_cast<qsizetype>(CMorseSession::kBaseTitle.size())));
    }
}

void CMorseDlg::OnHideText() {
    session->SetHideText(hideTextBox->isChecked());
    Render();
}

void CMorseDlg::OnKindChange() {
    session->ChooseKind(kindList->currentIndex());
    Render();
}

void CMorseDlg::OnSteppingMode() {
    // The action has already toggled its own check mark.
    session->SetStepping(IsMenuItemChecked(ids::kMenuStepping));
    Render();
}

void CMorseDlg::OnTextSpeedChange() {
    session->ChooseTextSpeed(textSpeedList->currentIndex());
    Render();
}

void CMorseDlg::OnSignSpeedChange() {
    session->ChooseSignSpeed(signSpeedList->currentIndex());
    Render();
}

void CMorseDlg::OnToneChange() {
    session->ChooseTone(toneList->currentIndex());
    Render();
}

void CMorseDlg::OnRatioChange() {
    session->ChooseRatio(ratioList->currentIndex());
    Render();
}

void CMorseDlg::OnGenerate() {
    session->Generate();
    Render();
}

void CMorseDlg::OnStep() {
    session->Step();
    Render();
}

void CMorseDlg::OnPause() {
    session->Pause();
    Render();
}

void CMorseDlg::OnStart() {
    session->Start();
    Render();
}

void CMorseDlg::OnStop() {
    session->Stop();
    Render();
}

// The engine reports each place as it is heard (the sound card keys ahead of its sound and says
// when), and the end once the end sign has been heard.
void CMorseDlg::OnSentTextChanged(const std::string& sentText, int sentTransmission) {
    session->OnSentTextChanged(sentText, sentTransmission);
    Render();
}

void CMorseDlg::OnTransmissionEnded(int endedTransmission) {
    session->OnTransmissionEnded(endedTransmission);
    Render();
}

void CMorseDlg::OnLettersChange() {
    if (rendering) {
        return;
    }
    const QString typed = lettersEdit->text();
    const CMorseSession::Typed cleaned =
        session->TypeLetters(ToCp1250(typed), lettersEdit->cursorPosition());
    const QString shown = FromCp1250(cleaned.text);
    if (shown != typed) {
        rendering = true;
        lettersEdit->setText(shown);
        lettersEdit->setCursorPosition(cleaned.caret);
        rendering = false;
    }
}

void CMorseDlg::OnDigitsChange() {
    if (!rendering) {
        session->TypeDigits(ToCp1250(digitsEdit->text()));
    }
}

void CMorseDlg::OnVolumeScroll(int position) {
    if (!rendering) {
        session->SetVolume(position);
    }
}

void CMorseDlg::OnRemember() {
    session->SetRemember(IsMenuItemChecked(ids::kMenuRemember));
    Render();
}

void CMorseDlg::OnShortZeros() {
    session->SetShortZeros(shortZerosBox->isChecked());
    Render();
}

void CMorseDlg::closeEvent(QCloseEvent* event) {
    if (!closing) {
        session->Close();
        Render();
    }
    closing = true;
    event->accept();
}

int CMorseDlg::RunDialog(QDialog& dialog) {
    return environment.runDialog ? environment.runDialog(dialog) : dialog.exec();
}

QString CMorseDlg::LanguageFile(const char* name) const {
    return QString::fromStdString(session->LanguageFile(name));
}

void CMorseDlg::OnLoadText() {
    const QString path = desktop.OpenFileName(this, LastFolder());
    if (!path.isEmpty()) {
        session->LoadTextFile(path.toStdString());
        Render();
    }
}

void CMorseDlg::OnSaveText() {
    if (!session->CanSaveText()) {
        return;
    }
    const QString path = desktop.SaveFileName(this, LastFolder());
    if (!path.isEmpty()) {
        session->SaveText(path.toStdString());
    }
}

void CMorseDlg::OnSaveSound() {
    if (!session->CanSaveSound()) {
        return;
    }
    const QString path = desktop.SaveSoundFileName(this, LastFolder());
    if (!path.isEmpty()) {
        session->SaveSound(path.toStdString());
    }
}

void CMorseDlg::OnCustomText() {
    CVlastniTextDlg dialog(LanguageFile("localUT"), notifier, this);
    dialog.SetText(session->CustomText().GetText());
    if (RunDialog(dialog) == QDialog::Accepted) {
        session->AcceptCustomText(dialog.GetText());
        Render();
    }
}

void CMorseDlg::OnOutputSettings() {
    CVystupDlg dialog(*session, LanguageFile("localSO"), environment.serialPorts(), this);
    RunDialog(dialog);
    Render();
}

void CMorseDlg::OnAbout() {
    CInfoDlg dialog(LanguageFile("localAbout"), this);
    RunDialog(dialog);
}

void CMorseDlg::OnHelpContents() {
    const QString help = environment.helpPage.value_or(QCoreApplication::applicationDirPath() +
                                                       QStringLiteral("/brumlo.html"));
    if (!desktop.OpenHelp(help)) {
        messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::HelpFailed(),
                          this);
    }
}

QStringList CMorseDlg::CzechCaptions() {
    return BuiltInCaptions(kCaptionTargets);
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
        case CaptionTarget::Kind::TextKind: {
            // The lesson kind and the kinds after it, which follow the five of the original list
            // and are named in their order.
            const auto extra = static_cast<qsizetype>(target.id - kLessonText);
            while (extraKindNames.size() <= extra) {
                extraKindNames << QString();
            }
            extraKindNames[extra] = text;
            if (kindList->count() > target.id) {
                kindList->setItemText(target.id, text);
            } else {
                kindList->addItem(text);
            }
            break;
        }
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
            kindList->addItems(extraKindNames);
            kindList->setCurrentIndex(selected);
        }
    }
    NameControls();
}

QStringList CMorseDlg::CzechTrainingCaptions() {
    return BuiltInCaptions(kTrainingCaptionTargets);
}

void CMorseDlg::ApplyTrainingCaptions(const QStringList& texts) {
    for (int k = 0; k < kTrainingCaptions; ++k) {
        ApplyCaption(kTrainingCaptionTargets[static_cast<std::size_t>(k)], texts.value(k));
    }
}

void CMorseDlg::ApplyTrafficCaptions(const QStringList& texts) {
    for (int k = 0; k < kTrafficCaptions; ++k) {
        ApplyCaption(kTrafficCaptionTargets[static_cast<std::size_t>(k)], texts.value(k));
    }
}

void CMorseDlg::OnLanguageChange() {
    // The action has already toggled its check mark.
    session->SetLanguage(IsMenuItemChecked(ids::kMenuLanguage));
    Render();
}

void CMorseDlg::OnToPrint() {
    session->AddToPrint();
}

void CMorseDlg::OnPrint() {
    CTiskDlg job(desktop, this);
    if (const std::optional<std::string> collection = session->CollectionToPrint()) {
        job.PrintCollection(QString::fromStdString(*collection));
    }
    // Printed, cancelled or failed: the collection is empty again.
    session->ClearPrintCollection();
}

void CMorseDlg::OnCopyCheck() {
    const std::optional<CMorseSession::CopyCheck> request = session->OpenCopyCheck();
    if (!request) {
        return;
    }
    // The learner may have copied the text sent before this one: check against the text shown
    // only when the user says so.
    if (request->unsent && !messageBoxes.Ask(messages::kCaption, messages::UnsentText(), this)) {
        return;
    }
    CKontrolaDlg check(
        CKontrolaModel(request->sentText, request->record, session->Files().History(), notifier),
        LanguageFile("localKO"), desktop, this);
    RunDialog(check);
    const CKontrolaModel& checked = check.Model();
    if (!checked.Result()) {
        return;
    }
    if (const std::optional<int> next =
            session->TakeCheckResult(checked.Record(), checked.Result()->ScorePercent());
        next && messageBoxes.Ask(messages::kCaption, messages::NextLesson(*next), this)) {
        session->AcceptNextLesson(*next);
        Render();
    }
}

void CMorseDlg::OnCourse() {
    const CCourseFile::Settings& course = session->Course();
    CKochDlg dialog(course.order, course.lesson, course.minimumSent, LanguageFile("localKM"),
                    notifier, this, [this] { return desktop.OpenFileName(this, LastFolder()); });
    if (RunDialog(dialog) == QDialog::Accepted) {
        session->SetMinimumSent(dialog.GetMinimumSent());
        session->ChooseLesson(dialog.GetOrder(), dialog.GetLesson());
        Render();
    }
}

void CMorseDlg::OnWeakCharacters() {
    // The action has already toggled its check mark.
    session->SetWeakCharacters(IsMenuItemChecked(ids::kMenuWeakCharacters));
    Render();
}

void CMorseDlg::OnReceptionConditions() {
    CPodminkyDlg dialog(session->Conditions(), LanguageFile("localPP"), this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        session->SetConditions(dialog.Settings());
        Render();
    }
}

void CMorseDlg::OnSoundOptions() {
    CZvukDlg dialog(session->SoundFileOptions(), LanguageFile("localZV"), this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        session->SetSoundOptions(dialog.Options());
    }
}

void CMorseDlg::OnStatistics() {
    QStringList kinds;
    for (int k = 0; k < kindList->count(); ++k) {
        kinds << kindList->itemText(k);
    }
    CStatistikaDlg statistics(session->History(), kinds, LanguageFile("localST"), this);
    statistics.ShowReactionTimes(CRecognitionFile(session->Files().Recognition()).Read(),
                                 CRozpoznaniDlg::StatisticsCaptions(LanguageFile("localRZ")));
    statistics.ShowCallsignRuns(CCallsignRecordsFile(session->Files().CallsignRecords()).Read(),
                                LanguageFile("localVZ"));
    RunDialog(statistics);
}

void CMorseDlg::OnInstantRecognition() {
    const std::unique_ptr<CCuePlayer> player = environment.cuePlayers();
    CRozpoznaniDlg recognition(*player, session->RecognitionStart(), session->Files().Recognition(),
                               LanguageFile("localRZ"), messageBoxes, environment.pressClock, this);
    RunDialog(recognition);
}

void CMorseDlg::OnCallsigns() {
    const std::unique_ptr<CCuePlayer> player = environment.cuePlayers();
    CVolaciZnakyDlg callsigns(CCallsignSession::FromWindow(session->View()), *player,
                              session->Files().CallsignRecords(), messageBoxes, notifier,
                              LanguageFile("localVZ"), this);
    RunDialog(callsigns);
}
