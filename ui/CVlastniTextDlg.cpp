#include "ui/CVlastniTextDlg.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "core/AsciiText.h"
#include "core/CMorseTable.h"
#include "ui/Accessibility.h"
#include "ui/Cp1250.h"
#include "ui/DialogUnits.h"
#include "ui/LanguageCaptions.h"

CVlastniTextDlg::CVlastniTextDlg(const QString& languageFile, CNotifier& warnings, QWidget* parent)
    : QDialog(parent), notifier(warnings) {
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
    text = newText;
    Write(FromCp1250(text), static_cast<int>(text.size()));
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
    accepted = shown;
    writing = false;
}

void CVlastniTextDlg::OnChangeText() {
    if (writing) {
        return;
    }
    const int caret = edit->textCursor().position();
    QString shown = edit->toPlainText();
    // The edit refuses input beyond the limit: the text goes back to what it was.
    if (shown.size() > kLimit) {
        Write(accepted, std::max(0, caret - static_cast<int>(shown.size() - accepted.size())));
        return;
    }
    // Typed letters arrive as capitals.
    std::string candidate = AsciiUpper(ToCp1250(shown));
    const int removed = CMorseTable::RemoveInvalidCharacters(candidate, false, notifier);
    text = candidate;
    const QString upper = FromCp1250(text);
    if (removed >= 0) {
        Write(upper, removed);
    } else if (upper != shown) {
        Write(upper, caret);
    } else {
        accepted = shown;
    }
}

bool CVlastniTextDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ControlModifier)) {
            // A line break is CR and LF, neither of which has a code: both are refused.
            const int caret = edit->textCursor().position();
            std::string broken = ToCp1250(edit->toPlainText());
            broken.insert(
                static_cast<std::size_t>(std::min<int>(caret, static_cast<int>(broken.size()))),
                "\r\n");
            const int removed = CMorseTable::RemoveInvalidCharacters(broken, false, notifier);
            text = broken;
            Write(FromCp1250(text), removed >= 0 ? removed : caret);
            return true;
        }
        if (enter) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
