#pragma once

#include <QDialog>
#include <QStringList>

#include "session/CPodminkyModel.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

// "Podmínky příjmu": the reception conditions a transmission is heard under, each on or off with
// its value (noise and the receiver filter, fading with its preset, spread and second path, static
// crashes, interfering stations that may sit on the tone or call in a pile-up, chirp, key clicks,
// the receiver's AGC), the fist that keys it, and the seed with the choice of fixing it. The rules
// are the model's: each widget tells it what the user did, and the dialog renders its view. OK
// hands the settings to whoever opened it. User-interface thread only.
class CPodminkyDlg : public QDialog {
    Q_OBJECT

public:
    using Condition = CPodminkyModel::Condition;
    static constexpr int kConditionCount = CPodminkyModel::kConditionCount;

    CPodminkyDlg(const ReceptionSettings& settings, const QString& languageFile,
                 QWidget* parent = nullptr);

    // The settings as the user left them.
    const ReceptionSettings& Settings() const { return model.Settings(); }
    // Back to the defaults: everything off, the seed kept.
    void OnDefaults();

    QCheckBox* Switch(Condition condition) const { return switches[condition]; }
    QSpinBox* SnrSpin() const { return snrSpin; }
    QSpinBox* FilterSpin() const { return filterSpin; }
    QSpinBox* FadingDepthSpin() const { return fadingDepthSpin; }
    QDoubleSpinBox* FadingSpreadSpin() const { return fadingSpreadSpin; }
    QDoubleSpinBox* PathDelaySpin() const { return pathDelaySpin; }
    QComboBox* FadingPresetList() const { return fadingPresetList; }
    QComboBox* AgcList() const { return agcList; }
    QSpinBox* StaticRateSpin() const { return staticRateSpin; }
    QSpinBox* StationsSpin() const { return stationsSpin; }
    QSpinBox* ChirpSpin() const { return chirpSpin; }
    QComboBox* FistList() const { return fistList; }
    QLineEdit* SeedEdit() const { return seedEdit; }
    QCheckBox* FixedSeedBox() const { return fixedSeedBox; }
    QPushButton* OkButton() const { return okButton; }
    QPushButton* DefaultsButton() const { return defaultsButton; }

    // The built-in captions, in the order of the language file "localPP".
    static QStringList CzechCaptions();

private:
    // Shows the model's view on every widget, in one place.
    void Render();
    // The integer field of each value, in the model's order (null for the spread and the delay).
    QSpinBox* ValueSpin(CPodminkyModel::Value value) const;

    CPodminkyModel model;
    bool rendering = false;
    QStringList captions;
    QCheckBox* switches[kConditionCount] = {};
    QSpinBox* snrSpin = nullptr;
    QSpinBox* filterSpin = nullptr;
    QSpinBox* fadingDepthSpin = nullptr;
    QDoubleSpinBox* fadingSpreadSpin = nullptr;
    QDoubleSpinBox* pathDelaySpin = nullptr;
    QComboBox* fadingPresetList = nullptr;
    QComboBox* agcList = nullptr;
    QSpinBox* staticRateSpin = nullptr;
    QSpinBox* stationsSpin = nullptr;
    QSpinBox* chirpSpin = nullptr;
    QComboBox* fistList = nullptr;
    QLineEdit* seedEdit = nullptr;
    QCheckBox* fixedSeedBox = nullptr;
    QLabel* noteLabel = nullptr;
    QPushButton* defaultsButton = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
