#include "ui/CMorseDlg.h"

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStyle>
#include <QTimer>

#include "core/CCuePlayer.h"
#include "core/CKeyLineSource.h"
#include "core/CSidetone.h"
#include "core/Timing.h"
#include "print/Cp1250.h"
#include "print/RulerPainter.h"
#include "session/CKlicovaniModel.h"
#include "session/ControlIds.h"
#include "ui/Accessibility.h"
#include "ui/CInfoDlg.h"
#include "ui/CKlicovaniDlg.h"
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
#include "ui/CVysilaniDlg.h"
#include "ui/CVystupDlg.h"
#include "ui/CZvukDlg.h"
#include "ui/Captions.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"

namespace {

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
    records = environment.records;
    session = std::make_unique<CMorseSession>(*engine, notifier,
                                              CProgramFiles(folder.toStdString()), *records);
    const bool usable = session->StartUp();
    // The toolkit's dialogs follow the built-in captions until a language file is chosen.
    messages::UseToolkitCzech(true);
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
    commands[ids::kMenuPunctuation]->setChecked(view.internationalPunctuation);

    // A sending button that goes grey hands the focus to the first of them that stays usable,
    // before it goes: Start to Stop, Stop to Start, rather than to the next control in the window.
    const std::pair<QPushButton*, bool> sending[] = {{startButton, view.startEnabled},
                                                     {stopButton, view.stopEnabled},
                                                     {pauseButton, view.pauseEnabled},
                                                     {stepButton, view.stepEnabled}};
    for (const auto& [button, enabled] : sending) {
        if (button->hasFocus() && !enabled) {
            for (const auto& [other, usable] : sending) {
                if (usable) {
                    other->setEnabled(true);
                    other->setFocus();
                    break;
                }
            }
        }
    }
    for (const auto& [button, enabled] : sending) {
        button->setEnabled(enabled);
    }
    stopButton->setDown(view.stopDown);
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
        const RulerGeometry rulers{
            layout.u,         layout.v,          layout.pt,           layout.viewLeft,
            layout.viewWidth, layout.viewHeight, layout.sixCharacters};
        PaintRulers(painter, rulers, fontName, palette(),
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
    const QString builtIn = environment.helpPage.value_or(QCoreApplication::applicationDirPath() +
                                                          QStringLiteral("/brumlo.html"));
    const QString help = QString::fromStdString(session->HelpPage(builtIn.toStdString()));
    if (!desktop.OpenHelp(help)) {
        messageBoxes.Show(CMessageBoxes::Icon::Error, messages::kCaption, messages::HelpFailed(),
                          this);
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
    CTiskDlg(CTiskModel(*session), desktop, this).PrintCollection();
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
        CKontrolaModel(request->sentText, request->record, records->history, notifier),
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

void CMorseDlg::OnPunctuation() {
    // The action has already toggled its check mark.
    session->SetInternationalPunctuation(IsMenuItemChecked(ids::kMenuPunctuation));
    Render();
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

void CMorseDlg::OnKeying() {
    std::vector<std::string> ports;
    if (environment.keyingPorts) {
        ports = environment.keyingPorts();
    }
    CKlicovaniDlg dialog(session->Keying(), ports, LanguageFile("localKL"), this);
    if (RunDialog(dialog) == QDialog::Accepted) {
        session->SetKeying(dialog.Settings());
    }
}

void CMorseDlg::OnSendingPractice() {
    CVysilaniDlg::Parts parts;
    parts.clock = environment.pressClock ? environment.pressClock : [] { return std::int64_t{0}; };
    if (environment.sidetones) {
        parts.sidetone = environment.sidetones(session->Keying());
    }
    if (environment.keyLines && session->Keying().input == KeyInput::kSerial) {
        parts.lines = environment.keyLines(session->Keying());
    }
    if (environment.cuePlayers) {
        parts.player = environment.cuePlayers();
    }
    parts.keepRecord = [this](const SendingRecord& record) {
        if (!records->sending.Append(record)) {
            notifier.WriteFailed(records->sending.Path(), 0);
        }
    };
    parts.saveSound = [this](const std::string& wav) {
        const QString path = desktop.SaveSoundFileName(this, LastFolder());
        if (!path.isEmpty()) {
            session->WriteSound(path.toStdString(), wav);
        }
    };
    // The keyer keys at the window's sign speed and dot:dash ratio; the keying area says what
    // keys in the keying window's words.
    SendingStart start = session->SendingPracticeStart();
    CKlicovaniModel keying(session->Keying(), {});
    keying.SetCaptions(
        Utf8Captions(ReadCaptionsOver(LanguageFile("localKL"), 0, CKlicovaniDlg::CzechCaptions())));
    start.inputDescription = keying.InputDescription();
    CVysilaniDlg dialog(session->Keying(), std::move(start), std::move(parts),
                        LanguageFile("localVY"), this);
    RunDialog(dialog);
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
    CStatistikaDlg statistics(session->Statistics(), kinds, LanguageFile("localST"), this);
    statistics.ShowReactionTimes(LanguageFile("localRZ"));
    statistics.ShowCallsignRuns(LanguageFile("localVZ"));
    statistics.ShowSendingSessions(LanguageFile("localVS"));
    RunDialog(statistics);
}

void CMorseDlg::OnInstantRecognition() {
    const std::unique_ptr<CCuePlayer> player = environment.cuePlayers();
    CRozpoznaniDlg recognition(*player, session->RecognitionStart(), records->recognition,
                               LanguageFile("localRZ"), messageBoxes, environment.pressClock, this);
    RunDialog(recognition);
}

void CMorseDlg::OnCallsigns() {
    const std::unique_ptr<CCuePlayer> player = environment.cuePlayers();
    CVolaciZnakyDlg callsigns(session->CallsignStart(), *player, records->callsigns, messageBoxes,
                              notifier, LanguageFile("localVZ"), this);
    RunDialog(callsigns);
}
