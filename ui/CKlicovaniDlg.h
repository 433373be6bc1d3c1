#pragma once

#include <QDialog>
#include <QStringList>

#include <string>
#include <vector>

#include "session/CKlicovaniModel.h"

class QCheckBox;
class QComboBox;
class QPushButton;

// "Klíčování": where the learner's key is read, straight key or iambic mode A or B, the keys, the
// serial port and its lines, and the sidetone. The rules are the model's: each widget tells it
// what the user did, and the dialog renders its view. OK hands the settings to whoever opened it.
// User-interface thread only.
class CKlicovaniDlg : public QDialog {
    Q_OBJECT

public:
    CKlicovaniDlg(const KeyingSettings& settings, std::vector<std::string> ports,
                  const QString& languageFile, QWidget* parent = nullptr);

    const KeyingSettings& Settings() const { return model.Settings(); }

    QComboBox* InputList() const { return inputList; }
    QComboBox* ModeList() const { return modeList; }
    QComboBox* StraightKeyList() const { return straightKeyList; }
    QComboBox* DotKeyList() const { return dotKeyList; }
    QComboBox* DashKeyList() const { return dashKeyList; }
    QComboBox* PortList() const { return portList; }
    QCheckBox* SwapBox() const { return swapBox; }
    QCheckBox* SidetoneBox() const { return sidetoneBox; }
    QPushButton* OkButton() const { return okButton; }

    static QStringList CzechCaptions();

private:
    void Render();

    CKlicovaniModel model;
    bool rendering = false;
    QStringList captions;
    QComboBox* inputList = nullptr;
    QComboBox* modeList = nullptr;
    QComboBox* straightKeyList = nullptr;
    QComboBox* dotKeyList = nullptr;
    QComboBox* dashKeyList = nullptr;
    QComboBox* portList = nullptr;
    QCheckBox* swapBox = nullptr;
    QCheckBox* sidetoneBox = nullptr;
    QCheckBox* speakerBox = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
