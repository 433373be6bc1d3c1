#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>
#include <string>

#include "session/CVolaciZnakyModel.h"

class CCuePlayer;
class CMessageBoxes;
class CNotifier;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimer;

// "Volací znaky": a run of callsigns at rising speed. The user chooses the start speed, the step
// and whether a wrong answer sounds, starts the run, types each callsign heard (Enter submits) and
// may have it repeated; the dialog shows the last verdict as text, the speed, the count and the
// score, and the run's summary at the end. The run is the session's; what was answered is stored
// at the end of a run, before a new one and when the dialog closes. Only the cue player sounds.
// User-interface thread only.
class CVolaciZnakyDlg : public QDialog {
    Q_OBJECT

public:
    // `defaults`: the window's tone, ratio, volume and sign speed, and the default step.
    // `player`, `boxes` and `notifier` outlive the dialog.
    CVolaciZnakyDlg(const CCallsignSession::Settings& defaults, CCuePlayer& player,
                    const CCallsignRecordsFile& records, CMessageBoxes& boxes, CNotifier& notifier,
                    const QString& languageFile, QWidget* parent = nullptr);
    ~CVolaciZnakyDlg() override;

    void OnStart();
    void OnAnswer();
    void OnRepeat();
    // Closing by any way stores what was answered and silences the player.
    void done(int result) override;

    const CVolaciZnakyModel& Model() const { return model; }
    QSpinBox* StartSpeedSpin() const { return startSpeedSpin; }
    QSpinBox* StepSpin() const { return stepSpin; }
    QCheckBox* WrongToneBox() const { return wrongToneBox; }
    QPushButton* StartButton() const { return startButton; }
    QLineEdit* AnswerEdit() const { return answerEdit; }
    QPushButton* RepeatButton() const { return repeatButton; }
    QLabel* VerdictLabel() const { return verdictLabel; }
    QLabel* ProgressLabel() const { return progressLabel; }
    QPlainTextEdit* SummaryText() const { return summaryText; }

    // The built-in captions, in the order of the language file "localVZ".
    static QStringList CzechCaptions();

private:
    // Shows the run's state: the fields that can be used, the speed, count and score, the summary.
    void Render();

    CVolaciZnakyModel model;
    CMessageBoxes& messageBoxes;
    QStringList captions;
    bool rendering = false;

    QSpinBox* startSpeedSpin = nullptr;
    QSpinBox* stepSpin = nullptr;
    QCheckBox* wrongToneBox = nullptr;
    QPushButton* startButton = nullptr;
    QLabel* answerLabel = nullptr;
    QLineEdit* answerEdit = nullptr;
    QPushButton* repeatButton = nullptr;
    QLabel* verdictLabel = nullptr;
    QLabel* progressLabel = nullptr;
    QPlainTextEdit* summaryText = nullptr;
    QPushButton* closeButton = nullptr;
    // Hands the player the pieces of a sound longer than it holds at once.
    QTimer* feedTimer = nullptr;
};
