#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include "session/CVystupModel.h"

class CMorseSession;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// "Nastavení výstupu": the choice of speaker, sound card or serial port. OK hands the choice to
// the session, which goes back to the previous output when it cannot be opened. The rules are
// the model's; the dialog renders its view. User-interface thread only.
class CVystupDlg : public QDialog {
    Q_OBJECT

public:
    // `ports` are the names of the port list; `languageFile` replaces the captions when not empty.
    CVystupDlg(CMorseSession& session, const QString& languageFile, const QStringList& ports,
               QWidget* parent = nullptr);

    int SelectedKind() const { return model.GetView().kind; }
    QRadioButton* KindButton(int kind) const;
    QComboBox* PortList() const { return portList; }
    QPushButton* OkButton() const { return okButton; }
    QPushButton* CancelButton() const { return cancelButton; }

    void OnOk();

private:
    // Shows the model's view on every widget, in one place.
    void Render();

    CVystupModel model;
    QGroupBox* frame = nullptr;
    QRadioButton* kindButtons[3] = {};
    QComboBox* portList = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
