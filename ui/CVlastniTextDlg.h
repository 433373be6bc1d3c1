#pragma once

#include <QDialog>

#include <QString>
#include "session/CVlastniTextModel.h"

class CNotifier;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// "Vytvoř vlastní text": up to 300 characters typed by the user. Typed letters become capitals,
// and every character without a Morse code is removed the moment it arrives, with a warning.
// Enter confirms, Ctrl+Enter would break the line (and is refused like any character without a
// code), Escape cancels. The rules are the model's. User-interface thread only.
class CVlastniTextDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kLimit = CVlastniTextModel::kLimit;

    CVlastniTextDlg(const QString& languageFile, CNotifier& notifier, QWidget* parent = nullptr);

    // Windows-1250 text in and out.
    void SetText(const std::string& text);
    std::string GetText() const { return model.Text(); }

    QPlainTextEdit* Edit() const { return edit; }
    QGroupBox* Group() const { return group; }
    QPushButton* OkButton() const { return okButton; }
    QPushButton* CancelButton() const { return cancelButton; }

    void OnChangeText();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Write(const QString& shown, int caret);

    CVlastniTextModel model;
    bool writing = false;
    QGroupBox* group = nullptr;
    QPlainTextEdit* edit = nullptr;
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
};
