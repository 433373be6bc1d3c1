#pragma once

#include <QDialog>
#include <QStringList>

#include "session/CZvukModel.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Mluvené odpovědi a rychlostní žebříček": how "Uložit zvuk…" makes a practice file beyond the
// keying: each group or word spoken after it with pauses the user sets, and the speed rising
// either group by group through rungs or step by step every so many minutes. The rules are the
// model's: each widget tells it what the user did, and the dialog renders its view. OK is refused,
// with a word beside the field, while the rungs cannot be read. User-interface thread only.
class CZvukDlg : public QDialog {
    Q_OBJECT

public:
    CZvukDlg(const SoundOptions& options, const QString& languageFile, QWidget* parent = nullptr);

    const SoundOptions& Options() const { return model.Options(); }
    void OnOk();

    QCheckBox* SpeakBox() const { return speakBox; }
    QCheckBox* LiveBox() const { return liveBox; }
    QDoubleSpinBox* PauseBeforeSpin() const { return pauseBeforeSpin; }
    QDoubleSpinBox* PauseAfterSpin() const { return pauseAfterSpin; }
    QRadioButton* LadderChoice(SoundOptions::Ladder ladder) const {
        return ladderChoices[static_cast<int>(ladder)];
    }
    QLineEdit* RungsEdit() const { return rungsEdit; }
    QSpinBox* StepSpin() const { return stepSpin; }
    QSpinBox* MinutesSpin() const { return minutesSpin; }
    QLabel* RungsProblem() const { return rungsProblem; }
    QPushButton* OkButton() const { return okButton; }

    // The built-in captions, in the order of the language file "localZV".
    static QStringList CzechCaptions();

private:
    // Shows the model's view on every widget, in one place.
    void Render();
    // Runs a user's action on the model and renders the result; the widgets' own signals while
    // the view is rendered are not the user's.
    template <typename Action>
    void Act(Action action);

    CZvukModel model;
    bool rendering = false;
    QStringList captions;
    QCheckBox* speakBox = nullptr;
    QCheckBox* liveBox = nullptr;
    QDoubleSpinBox* pauseBeforeSpin = nullptr;
    QDoubleSpinBox* pauseAfterSpin = nullptr;
    QRadioButton* ladderChoices[3] = {};
    QLineEdit* rungsEdit = nullptr;
    QSpinBox* stepSpin = nullptr;
    QSpinBox* minutesSpin = nullptr;
    QLabel* rungsProblem = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
