#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class CMorseSession;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// "Nastavení výstupu": the choice of speaker, sound card or serial port. OK hands the choice to
// the session, which goes back to the previous output when it cannot be opened. User-interface
// thread only.
class CVystupDlg : public QDialog {
    Q_OBJECT

public:
    // `ports` are the names of the port list; `languageFile` replaces the captions when not empty.
    CVystupDlg(CMorseSession& session, const QString& languageFile, const QStringList& ports,
               QWidget* parent = nullptr);

    int SelectedKind() const { return selectedKind; }
    QRadioButton* KindButton(int kind) const;
    QComboBox* PortList() const { return portList; }
    QPushButton* OkButton() const { return okButton; }
    QPushButton* CancelButton() const { return cancelButton; }

    void OnOk();

private:
    void OnKind(int kind);
    void OnPortChange();

    CMorseSession& session;
    QStringList portNames;
    int portIndex = 0;
    int selectedKind = 0;
    QString selectedPort;
    QGroupBox* frame = nullptr;
    QRadioButton* kindButtons[3] = {};
    QComboBox* portList = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
