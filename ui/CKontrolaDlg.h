#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "training/CCopyCheck.h"
#include "training/CheckRecord.h"

class CCopyResultView;
class CDesktop;
class CNotifier;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Kontrola opisu": the user types what they copied, in groups as they wrote it down, and asks
// for the check. Until then nothing of the sent text is shown. The check marks every character,
// gives the score and the most frequent confusions, adds a record to the history and can be
// printed. Typed letters become capitals; characters without a code are refused, said in a status
// line (no message box, which would take the next keystroke). User-interface thread only.
class CKontrolaDlg : public QDialog {
    Q_OBJECT

public:
    // The copy may be this long; more is refused like an uncodable character would be.
    static constexpr int kLimit = static_cast<int>(CCopyCheck::kMaxCharacters);

    // `sentText`: what was sent, as displayed (lines ending in CR LF); `record`: how it was sent
    // (the results are filled in by the check); `historyPath`: the history file.
    CKontrolaDlg(const QString& sentText, const CheckRecord& record, const QString& historyPath,
                 const QString& languageFile, CNotifier& notifier, CDesktop& desktop,
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
    const std::optional<CCopyCheck>& Result() const { return result; }
    const CheckRecord& Record() const { return record; }
    const QString& SentText() const { return sentText; }

    // The built-in captions, in the order of the language file "localKO".
    static QStringList CzechCaptions();

private:
    QStringList Heading() const;
    QStringList ResultLines() const;

    QString sentText;
    CheckRecord record;
    QString historyPath;
    CNotifier& notifier;
    CDesktop& desktop;
    QStringList captions;
    std::optional<CCopyCheck> result;
    QString accepted;
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
