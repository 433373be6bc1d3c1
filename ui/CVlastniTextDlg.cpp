#include "ui/CVlastniTextDlg.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "print/Cp1250.h"
#include "ui/Accessibility.h"
#include "ui/DialogUnits.h"
#include "ui/LanguageCaptions.h"

CVlastniTextDlg::CVlastniTextDlg(const QString& languageFile, CNotifier& warnings, QWidget* parent)
    : QDialog(parent), model(std::string(), warnings) {
    setWindowTitle(QStringLiteral("Vytvoř vlastní text"));
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 308, 139).size());
    group = new QGroupBox(QStringLiteral("Vlastní text"), this);
    group->setGeometry(units.Rect(18, 14, 267, 94));
    edit = new QPlainTextEdit(this);
    edit->setGeometry(units.Rect(26, 26, 251, 76));
    edit->setTabChangesFocus(true);
    edit->installEventFilter(this);
    okButton = new QPushButton(QStringLiteral("&OK"), this);
    okButton->setGeometry(units.Rect(93, 111, 50, 14));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("&Storno"), this);
    cancelButton->setGeometry(units.Rect(160, 111, 50, 14));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(edit, &QPlainTextEdit::textChanged, this, [this] { OnChangeText(); });
    if (!languageFile.isEmpty()) {
        if (const auto texts = ReadCaptions(languageFile, 4)) {
            setWindowTitle(texts->at(0));
            group->setTitle(texts->at(1));
            okButton->setText(texts->at(2));
            cancelButton->setText(texts->at(3));
        }
    }
    // The edit is named by its frame.
    edit->setAccessibleName(SpokenCaption(group->title()));
}

void CVlastniTextDlg::SetText(const std::string& newText) {
    model.SetText(newText);
    Write(FromCp1250(newText), static_cast<int>(newText.size()));
}

void CVlastniTextDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit->setFocus();
}

void CVlastniTextDlg::Write(const QString& shown, int caret) {
    writing = true;
    edit->setPlainText(shown);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(shown.size())));
    edit->setTextCursor(cursor);
    edit->ensureCursorVisible();
    writing = false;
}

void CVlastniTextDlg::OnChangeText() {
    if (writing) {
        return;
    }
    const QString shown = edit->toPlainText();
    const TypedText typed = model.Type(ToCp1250(shown), edit->textCursor().position());
    const QString cleaned = FromCp1250(typed.text);
    if (cleaned != shown) {
        Write(cleaned, typed.caret);
    }
}

bool CVlastniTextDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            const TypedText typed = model.BreakLine(edit->textCursor().position());
            Write(FromCp1250(typed.text), typed.caret);
            return true;
        }
        if (enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
