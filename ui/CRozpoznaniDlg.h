#pragma once

#include <QDialog>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

#include "session/CRozpoznaniModel.h"

class CCuePlayer;
class CMessageBoxes;
class QCheckBox;
class QEvent;
class QKeyEvent;
class QComboBox;
class QLabel;
class QPushButton;
class QPlainTextEdit;
class QSpinBox;
class QTimer;

// "Okamžité rozpoznání": the set, the limit of a quick answer and the wrong answer's tone are
// chosen, Start plays the first character through the cue player, and each key typed in the
// dialog answers the character heard. The verdict (right, slow or wrong, the character played,
// the reaction) is written in a label that a screen reader reads as it changes; the current speed
// beside it. The rules and the records are the recognition session's; the dialog only shows it.
// Closing it stores the run. User-interface thread only.
class CRozpoznaniDlg : public QDialog {
    Q_OBJECT

public:
    // The moment on the monotonic clock, in nanoseconds.
    using Clock = std::function<std::int64_t()>;

    // `start`: the window's speeds, tone, ratio, volume and lesson; `recordsPath`: the records
    // file. `player` and `messageBoxes` outlive the dialog. `clock` times the key presses.
    CRozpoznaniDlg(CCuePlayer& player, const RecognitionSettings& start,
                   const CRecognitionFile& records, const QString& languageFile,
                   CMessageBoxes& messageBoxes, Clock clock, QWidget* parent = nullptr);
    ~CRozpoznaniDlg() override;

    void OnStart();
    // A key typed while a run is on: the answer to the character heard.
    void OnAnswer(char typed, std::int64_t pressNanoseconds);

    // Stores the run (once) and stops the sound; the dialog then closes.
    void done(int result) override;

    const CRozpoznaniModel& Model() const { return model; }
    QComboBox* SetList() const { return setList; }
    QSpinBox* LimitSpin() const { return limitSpin; }
    QCheckBox* WrongToneBox() const { return wrongToneBox; }
    QPushButton* StartButton() const { return startButton; }
    QPushButton* CloseButton() const { return closeButton; }
    QLabel* VerdictLabel() const { return verdictLabel; }
    QLabel* SpeedLabel() const { return speedLabel; }
    // The pause before the next character.
    QTimer* NextTimer() const { return nextTimer; }

    // The built-in captions, in the order of the language file "localRZ".
    static QStringList CzechCaptions();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Plays the next character; a refusal of the player ends the run with a message.
    void PlayNext();
    // Shows the model's view: the choices and whether they can change.
    void Render();
    // A run that reached its length, summed up under the verdict.
    // The speed a run starts at.
    void ShowSpeed();
    // Says what went wrong, one message after another.
    void Tell(const CRozpoznaniModel::Problems& problems);
    // The character a key event types, or 0.
    static char Typed(const QKeyEvent& event);

    CRozpoznaniModel model;
    CMessageBoxes& messageBoxes;
    Clock clock;
    QStringList captions;
    bool rendering = false;
    QComboBox* setList = nullptr;
    QSpinBox* limitSpin = nullptr;
    QSpinBox* lengthSpin = nullptr;
    QPlainTextEdit* summaryText = nullptr;
    QCheckBox* wrongToneBox = nullptr;
    QLabel* hintLabel = nullptr;
    QLabel* verdictLabel = nullptr;
    QLabel* speedLabel = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* closeButton = nullptr;
    QTimer* nextTimer = nullptr;
};
