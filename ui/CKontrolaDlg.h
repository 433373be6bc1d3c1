#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "session/CKontrolaModel.h"

class CCopyResultView;
class CDesktop;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Kontrola opisu": the user types what they copied, in groups as they wrote it down, and asks
// for the check. Until then nothing of the sent text is shown. The check marks every character,
// gives the score and the most frequent confusions, adds a record to the history and can be
// printed. Typed letters become capitals; characters without a code are refused, said in a status
// line (no message box, which would take the next keystroke). The rules are the model's; the
// dialog tells it what the user did and renders its view. User-interface thread only.
class CKontrolaDlg : public QDialog {
    Q_OBJECT

public:
    CKontrolaDlg(CKontrolaModel model, const QString& languageFile, CDesktop& desktop,
                 QWidget* parent = nullptr);
    ~CKontrolaDlg() override;

    void OnChangeCopy();
    void OnCheck();
    void OnPrint();

    QPlainTextEdit* Edit() const { return edit; }
    QPushButton* CheckButton() const { return checkButton; }
    QPushButton* PrintButton() const { return printButton; }
    QPushButton* CloseButton() const { return closeButton; }
    CCopyResultView* ResultView() const { return resultView; }
    QLabel* ScoreLabel() const { return scoreLabel; }
    // Right, wrong, missed, extra and swapped, each on its own.
    QLabel* CountsLabel() const { return countsLabel; }
    // Says a refused character while the user types.
    QLabel* StatusLabel() const { return statusLabel; }
    QLabel* ConfusionLabel() const { return confusionLabel; }
    // The whole result as lines a reader reads in order, shown once the check is done.
    QPlainTextEdit* ResultText() const { return resultText; }
    const CKontrolaModel& Model() const { return model; }

    // The built-in captions, in the order of the language file "localKO".
    static QStringList CzechCaptions();

private:
    // Shows the model's view on every widget, in one place.
    void Render();

    CKontrolaModel model;
    CDesktop& desktop;
    QStringList captions;
    bool writing = false;

    QLabel* promptLabel = nullptr;
    QPlainTextEdit* edit = nullptr;
    CCopyResultView* resultView = nullptr;
    QLabel* scoreLabel = nullptr;
    QLabel* countsLabel = nullptr;
    QLabel* statusLabel = nullptr;
    QLabel* confusionLabel = nullptr;
    QPlainTextEdit* resultText = nullptr;
    QPushButton* checkButton = nullptr;
    QPushButton* printButton = nullptr;
    QPushButton* closeButton = nullptr;
};
