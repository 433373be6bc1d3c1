#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "session/CMorseSession.h"
#include "session/MainLayout.h"
#include "ui/CDesktop.h"
#include "ui/CMessageBoxes.h"
#include "ui/CUiNotifier.h"

class CCuePlayer;
class CKeyLineSource;
class CSidetone;
class CEngineListener;
class CKeyingEngine;
class CMorseText;
class CNotifier;
class CTextView;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QSlider;

// What the main window works with. The program (app/) gives it the parts that reach the machine;
// tests give it their own, and replace the user's side too.
struct DialogEnvironment {
    CMessageBoxes* messageBoxes = nullptr;   // null: real message boxes
    CDesktop* desktop = nullptr;             // null: real file dialogs and browser
    std::function<int(QDialog&)> runDialog;  // empty: run each dialog modally
    // The keying engine, reporting to `listener` and telling its failures through `notifier`.
    // Shared so that the window can release an engine whose type it does not see.
    std::function<std::shared_ptr<CKeyingEngine>(CEngineListener*, CNotifier&)> engines;
    // A player of short sounds on the sound card, whichever output keys the transmissions.
    std::function<std::unique_ptr<CCuePlayer>()> cuePlayers;
    std::function<QStringList()> serialPorts;  // the serial ports of the machine
    std::function<std::int64_t()> pressClock;  // the monotonic clock, for key presses
    // Sending practice: the serial ports as device paths, the sidetone on the sound card, and the
    // serial key interface of the keying settings.
    std::function<std::vector<std::string>()> keyingPorts;
    std::function<std::unique_ptr<CSidetone>(const KeyingSettings&)> sidetones;
    std::function<std::unique_ptr<CKeyLineSource>(const KeyingSettings&)> keyLines;
    std::optional<QString> programFolder;  // none: the current directory
    // The record files of that folder.
    std::shared_ptr<const RecordFiles> records;
    std::optional<QString> helpPage;    // none: brumlo.html beside the executable
    std::optional<LayoutInput> screen;  // none: the screen the window is on
};

// The main window: the training text, the generator, the sending controls and the output
// settings. It keeps the widgets, menus, layout, painting, captions and the other dialogs; the
// state and the rules are the session's, and each handler reads its widget, calls the session
// and renders the session's view. Lives on the user-interface thread; the keying engine's
// threads reach it only through calls posted to that thread.
class CMorseDlg : public QDialog {
    Q_OBJECT

public:
    explicit CMorseDlg(DialogEnvironment environment = {}, QWidget* parent = nullptr);
    ~CMorseDlg() override;

    // Copies the edits into the session (true) or renders the session's view (false).
    void UpdateData(bool toMembers);
    void LayoutControls();

    // Handlers, in the order of the window's message map.
    void OnHideText();
    void OnKindChange();
    void OnExit() { close(); }
    void OnSteppingMode();
    void OnTextSpeedChange();
    void OnSignSpeedChange();
    void OnToneChange();
    void OnGenerate();
    void OnStep();
    void OnPause();
    void OnStart();
    void OnStop();
    void OnLettersChange();
    void OnDigitsChange();
    void OnVolumeScroll(int position);
    void OnRatioChange();
    void OnRemember();
    void OnShortZeros();
    void OnLoadText();
    void OnSaveText();
    void OnSaveSound();
    void OnCustomText();
    void OnOutputSettings();
    void OnAbout();
    void OnHelpContents();
    void OnLanguageChange();
    void OnToPrint();
    void OnPrint();
    void OnCopyCheck();
    void OnStatistics();
    void OnCourse();
    void OnWeakCharacters();
    void OnPunctuation();
    void OnKeying();
    void OnSendingPractice();
    void OnReceptionConditions();
    void OnSoundOptions();
    void OnInstantRecognition();
    void OnCallsigns();
    void ApplyCaptions(const QStringList& texts);
    static QStringList CzechCaptions();
    void ApplyTrainingCaptions(const QStringList& texts);
    static QStringList CzechTrainingCaptions();
    void ApplyTrafficCaptions(const QStringList& texts);

    // State read by tests and by the other dialogs.
    CMorseSession& Session() { return *session; }
    CTextView& MorseView() { return *morseView; }
    QWidget* Control(int id) const;
    QAction* MenuCommand(int id) const;
    QMenuBar* MenuBar() const { return menuBar; }
    const MainLayout& Layout() const { return layout; }
    const CMorseText& CurrentText() const { return session->CurrentText(); }
    const CMorseText& CustomText() const { return session->CustomText(); }
    QString LastFolder() const { return QString::fromStdString(session->LastFolder()); }
    bool IsFileTitleShown() const { return session->IsFileTitleShown(); }
    bool IsIdle() const { return session->View().idle; }
    bool IsPaused() const { return session->View().paused; }
    bool IsLanguageActive() const { return session->View().language; }
    bool IsMenuItemChecked(int id) const;

    // Enter and Escape run the close sequence.
    void reject() override { close(); }
    void accept() override { close(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    // Accessible names from the captions, after every change of them.
    void NameControls();
    void ConnectSignals();
    void InitDialog();
    // Shows the session's view: every widget, check mark and enabled state, in one place.
    void Render();
    void RenderCaptions(bool language);
    void OnSentTextChanged(const std::string& sentText, int transmission);
    void OnTransmissionEnded(int transmission);
    // Runs `report` once the sound reported has been heard.
    LayoutInput ScreenInput() const;
    int ContentTop() const;
    int RunDialog(QDialog& dialog);
    QString LanguageFile(const char* name) const;
    void ApplyCaption(const struct CaptionTarget& target, const QString& text);

    DialogEnvironment environment;
    CQtMessageBoxes qtMessageBoxes;
    CMessageBoxes& messageBoxes;
    CQtDesktop qtDesktop;
    CDesktop& desktop;
    CUiNotifier notifier;
    std::unique_ptr<CEngineListener> engineEvents;
    std::shared_ptr<CKeyingEngine> engine;
    // Before the session, which reads and adds to them.
    std::shared_ptr<const RecordFiles> records;
    std::unique_ptr<CMorseSession> session;

    QString fontName = QStringLiteral("Liberation Sans");
    int fontSize = 8;
    MainLayout layout;
    bool closing = false;
    // Set while the view is rendered, so that the widgets' own signals do not come back as
    // the user's choices.
    bool rendering = false;
    // The language whose captions are shown.
    bool captionsLanguage = false;
    // The names of the lesson kind and the kinds after it, in their order.
    QStringList extraKindNames;

    // Widgets.
    QMenuBar* menuBar = nullptr;
    std::map<int, QWidget*> controls;
    std::map<int, QAction*> commands;
    std::vector<QMenu*> menus;
    CTextView* morseView = nullptr;
    CTextView* textSpeedResult = nullptr;
    CTextView* signSpeedResult = nullptr;
    QCheckBox* hideTextBox = nullptr;
    QCheckBox* shortZerosBox = nullptr;
    QLineEdit* lettersEdit = nullptr;
    QLineEdit* digitsEdit = nullptr;
    QComboBox* kindList = nullptr;
    QComboBox* toneList = nullptr;
    QComboBox* textSpeedList = nullptr;
    QComboBox* signSpeedList = nullptr;
    QComboBox* ratioList = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* pauseButton = nullptr;
    QPushButton* stepButton = nullptr;
    QPushButton* generateButton = nullptr;
    QSlider* volumeSlider = nullptr;
};
