#include "ui/CKontrolaDlg.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include "print/CCopyCheckPainter.h"
#include "print/Cp1250.h"
#include "ui/Accessibility.h"
#include "ui/CCopyResultView.h"
#include "ui/CTextView.h"
#include "ui/CTiskDlg.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/WindowFit.h"

using C = CKontrolaModel;

QStringList CKontrolaDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CKontrolaDlg::CKontrolaDlg(CKontrolaModel checkModel, const QString& languageFile,
                           CDesktop& printDesktop, QWidget* parent)
    : QDialog(parent),
      model(std::move(checkModel)),
      desktop(printDesktop),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetCaptions(Utf8Captions(captions), messages::DecimalSign().toStdString());
    setWindowTitle(captions[C::kTitle]);
    promptLabel = new QLabel(captions[C::kPrompt], this);
    edit = new QPlainTextEdit(this);
    edit->setFont(MorseFont(18));
    edit->setTabChangesFocus(true);
    edit->setMinimumHeight(120);
    resultView = new CCopyResultView(this);
    resultView->hide();
    scoreLabel = new QLabel(this);
    scoreLabel->hide();
    countsLabel = new QLabel(this);
    countsLabel->hide();
    statusLabel = new QLabel(this);
    // A reader reads the message itself; the caption says what kind of line it is.
    statusLabel->setAccessibleDescription(captions[C::kStatusName]);
    confusionLabel = new QLabel(this);
    confusionLabel->setWordWrap(true);
    confusionLabel->hide();
    // The result as text a reader reads in order: the score, the counts, every difference, the
    // confusions. It takes the focus once the check is done.
    resultText = new QPlainTextEdit(this);
    resultText->setReadOnly(true);
    // Read line by line with the arrow keys, as a reader reads a document.
    resultText->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    resultText->setTabChangesFocus(true);
    resultText->setAccessibleName(SpokenCaption(captions[C::kResultName]));
    resultText->setMinimumHeight(90);
    resultText->hide();
    checkButton = new QPushButton(captions[C::kCheck], this);
    checkButton->setDefault(true);
    printButton = new QPushButton(captions[C::kPrint], this);
    printButton->setEnabled(false);
    closeButton = new QPushButton(captions[C::kClose], this);
    promptLabel->setBuddy(edit);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(checkButton);
    buttons->addWidget(printButton);
    buttons->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addWidget(promptLabel);
    column->addWidget(edit);
    column->addWidget(resultView);
    column->addWidget(statusLabel);
    column->addWidget(scoreLabel);
    column->addWidget(countsLabel);
    column->addWidget(confusionLabel);
    column->addWidget(resultText);
    column->addLayout(buttons);
    resize(960, 360);

    connect(edit, &QPlainTextEdit::textChanged, this, [this] { OnChangeCopy(); });
    connect(checkButton, &QPushButton::clicked, this, [this] { OnCheck(); });
    connect(printButton, &QPushButton::clicked, this, [this] { OnPrint(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
}

CKontrolaDlg::~CKontrolaDlg() = default;

void CKontrolaDlg::OnChangeCopy() {
    if (writing) {
        return;
    }
    const QString shown = edit->toPlainText();
    const CKontrolaModel::Typed typed = model.Type(ToCp1250(shown), edit->textCursor().position());
    const QString cleaned = FromCp1250(typed.text);
    if (cleaned != shown) {
        writing = true;
        edit->setPlainText(cleaned);
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(typed.caret);
        edit->setTextCursor(cursor);
        writing = false;
    }
    Render();
}

void CKontrolaDlg::OnCheck() {
    if (model.Result()) {
        return;
    }
    model.Check();
    Render();
    resultText->setFocus();
    // The score, said once: a reader may take the focus of the result silently.
    Announce(resultText->document()->firstBlock().text());
    ResizeWithinScreen(
        *this, QSize(std::max(width(), 1000),
                     height() + resultView->heightForWidth(1000) + resultText->minimumHeight()));
}

void CKontrolaDlg::Render() {
    const CKontrolaModel::View view = model.GetView();
    if (view.refused) {
        statusLabel->setText(messages::RefusedCharacter(FromCp1250(*view.refused)));
    } else {
        statusLabel->clear();
    }
    edit->setReadOnly(view.checked);
    checkButton->setEnabled(!view.checked);
    printButton->setEnabled(view.checked);
    if (view.result == nullptr || resultView->isVisible()) {
        return;
    }
    const QStringList legend = captions.mid(C::kLegendRight, C::kCounts - C::kLegendRight);
    resultView->SetResult(
        std::make_unique<CCopyCheckPainter>(model.SentText(), *view.result, legend));
    scoreLabel->setText(QString::fromStdString(view.score));
    countsLabel->setText(QString::fromStdString(view.counts));
    confusionLabel->setText(QString::fromStdString(view.confusions));
    resultText->setPlainText(QString::fromStdString(view.resultText));
    for (QWidget* shown : std::initializer_list<QWidget*>{resultView, scoreLabel, countsLabel,
                                                          confusionLabel, resultText}) {
        shown->show();
    }
}

void CKontrolaDlg::OnPrint() {
    if (!model.Result() || resultView->Result() == nullptr) {
        return;
    }
    const CKontrolaModel::View view = model.GetView();
    const QStringList heading{captions[C::kTitle], QString::fromStdString(view.score),
                              QString::fromStdString(view.counts),
                              QString::fromStdString(view.confusions)};
    CTiskDlg(CTiskModel(), desktop, this).PrintCopyCheck(*resultView->Result(), heading);
}
