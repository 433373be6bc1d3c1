#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "engine/CKeyingEngine.h"
#include "text/CMorseText.h"
#include "training/CCourseFile.h"
#include "training/CheckRecord.h"
#include "ui/CDesktop.h"
#include "ui/CMessageBoxes.h"
#include "ui/CUiNotifier.h"
#include "ui/MainLayout.h"

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

// What the main window works with; tests replace the parts that reach the hardware or the user.
struct DialogEnvironment {
    CMessageBoxes* messageBoxes = nullptr;       // null: real message boxes
    CDesktop* desktop = nullptr;                 // null: real file dialogs and browser
    std::function<int(QDialog&)> runDialog;      // empty: run each dialog modally
    std::function<QStringList()> serialPorts;    // empty: the ports of this machine
    std::unique_ptr<COutputFactory> outputs;     // null: the real devices
    std::unique_ptr<CTimeSource> time;           // null: the real clock
    std::unique_ptr<CPriorityControl> priority;  // null: real scheduling
    std::optional<QString> programFolder;        // none: the current directory
    std::optional<QString> helpPage;             // none: brumlo.html beside the executable
    std::optional<LayoutInput> screen;           // none: the screen the window is on
};

// The main window: the training text, the generator, the sending controls and the output
// settings. Lives on the user-interface thread; the keying engine's threads reach it only through
// calls posted to that thread.
class CMorseDlg : public QDialog {
    Q_OBJECT

public:
    explicit CMorseDlg(DialogEnvironment environment = {}, QWidget* parent = nullptr);
    ~CMorseDlg() override;

    // Copies the widgets into the members (true) or the members into the widgets (false).
    void UpdateData(bool toMembers);
    void LayoutControls();

    // Handlers, in the order of the window's message map.
    void OnHideText();
    void OnKindChange();
    void OnExit();
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
    void SaveSettings();
    void LoadSettings();
    void ApplyCaptions(const QStringList& texts);
    static QStringList CzechCaptions();
    void ApplyTrainingCaptions(const QStringList& texts);
    static QStringList CzechTrainingCaptions();
    bool IsLanguageActive() const { return languageActive; }

    void WriteTextFile(const QString& path, bool append, bool pad);
    QString BrowseTextFile(bool open);
    void LoadTextFile(const QString& path, bool fromUser);

    void EnableIdleControls(bool enable);
    void OnSendingFinished();
    void ApplyText(const std::string& text);
    void RefreshAfterSend();

    // State read by tests and by the other dialogs.
    CKeyingEngine& Engine() { return *engine; }
    CTextView& MorseView() { return *morseView; }
    QWidget* Control(int id) const;
    QAction* MenuCommand(int id) const;
    QMenuBar* MenuBar() const { return menuBar; }
    const MainLayout& Layout() const { return layout; }
    const CMorseText& CurrentText() const { return currentText; }
    const CMorseText& CustomText() const { return customText; }
    QString LastFolder() const { return lastFolder; }
    bool IsFileTitleShown() const { return fileTitleShown; }
    bool IsIdle() const { return idle; }
    bool IsPaused() const { return paused; }
    bool IsMenuItemChecked(int id) const;

    void reject() override;
    void accept() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class CEngineEvents;

    void CreateControls();
    void CreateMenu();
    void ConnectSignals();
    void InitDialog();
    void OnSentTextChanged(const QString& sentText, int transmission);
    void OnTransmissionEnded(int transmission);
    void ShowError(const QString& text);
    int DisplayDelayMilliseconds();
    LayoutInput ScreenInput() const;
    int ContentTop() const;
    int RunDialog(QDialog& dialog);
    QString LanguageFile(const char* name) const;
    void EnableOutputControls();
    void ApplyCaption(const struct CaptionTarget& target, const QString& text);
    // How the text would be sent now, for the record of a copy check.
    CheckRecord SendingRecord() const;
    std::string CourseFilePath() const;
    void SaveCourse();
    // The set a text is drawn from: weighted by the history when weak characters are practised.
    std::string PracticeSet(const std::string& set) const;

    DialogEnvironment environment;
    CQtMessageBoxes qtMessageBoxes;
    CMessageBoxes& messageBoxes;
    CQtDesktop qtDesktop;
    CDesktop& desktop;
    CUiNotifier notifier;
    std::unique_ptr<CEngineEvents> engineEvents;
    std::unique_ptr<CKeyingEngine> engine;

    // Members exchanged with the widgets.
    int kind = 0;
    int textSpeedIndex = 8;
    int signSpeedIndex = 4;
    int toneIndex = 1;
    int ratioIndex = 0;
    std::string letterSet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string digitSet = "1234567890";

    std::string displayText;
    QString programFolder;
    QString lastFolder;
    bool idle = true;
    bool rememberFlag = true;
    bool paused = false;
    bool languageActive = false;
    bool customMode = false;
    bool fileTitleShown = false;
    CMorseText currentText;
    CMorseText customText;
    QString baseTitle;
    QString fileTitle;
    QString fontName = QStringLiteral("Liberation Sans");
    int fontSize = 8;
    MainLayout layout;
    int transmission = 0;
    bool closing = false;
    // What the last transmission sent, and how: the text of a copy check.
    QString lastSentText;
    CheckRecord lastSending;
    bool stoppedEarly = false;
    // The Koch course and the practice of weak characters, kept in a file of their own.
    CCourseFile::Settings course;
    QString lessonKindName;

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
