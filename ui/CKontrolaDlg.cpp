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
#include "print/ConfusionText.h"
#include "print/Cp1250.h"
#include "ui/Accessibility.h"
#include "ui/CCopyResultView.h"
#include "ui/CTextView.h"
#include "ui/CTiskDlg.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/WindowFit.h"

namespace {

enum Caption {
    kTitle,
    kPrompt,
    kCheck,
    kPrint,
    kClose,
    kScore,
    kConfusions,
    kConfusion,
    kNoConfusions,
    kLegendRight,
    kLegendWrong,
    kLegendMissed,
    kLegendExtra,
    kLegendSwapped,
    kCounts,
    kResultName,
    kDifferences,
    kNoDifferences,
    kWrongAt,
    kMissedAt,
    kMissedGroup,
    kSwappedAt,
    kExtraAfter,
    kExtraAtStart,
    kStatusName,
    kCaptionCount
};

}  // namespace

QStringList CKontrolaDlg::CzechCaptions() {
    QStringList texts{QStringLiteral("Kontrola opisu"),
                      QStringLiteral("Napište, co jste opsali, po skupinách, jak jste je zapsali:"),
                      QStringLiteral("&Vyhodnotit"),
                      QStringLiteral("&Tisk"),
                      QStringLiteral("&Zavřít"),
                      QStringLiteral("Skóre: %1 % (správně %2 z %3 odeslaných a %4 navíc opsaných "
                                     "znaků)"),
                      QStringLiteral("Nejčastější záměny:"),
                      QStringLiteral("odesláno %1, opsáno %2: %3×"),
                      QStringLiteral("žádné")};
    texts << CCopyCheckPainter::DefaultLegend();
    texts << QStringLiteral(
        "Správně: %1, chybně: %2, vynecháno: %3, navíc: %4, přehozené dvojice: %5");
    texts << QStringLiteral("Výsledek kontroly") << QStringLiteral("Rozdíly:")
          << QStringLiteral("Rozdíly: žádné")
          << QStringLiteral("skupina %1, znak %2: vysláno %3, opsáno %4")
          << QStringLiteral("skupina %1, znak %2: vysláno %3, vynecháno")
          << QStringLiteral("skupina %1: vynechána celá, vysláno %3")
          << QStringLiteral("skupina %1, znaky %2 a %5: vysláno %3, opsáno %4")
          << QStringLiteral("skupina %1, za znakem %2: navíc opsáno %4")
          << QStringLiteral("před první skupinou: navíc opsáno %4") << QStringLiteral("Upozornění");
    return texts;
}

CKontrolaDlg::CKontrolaDlg(CKontrolaModel checkModel, const QString& languageFile,
                           CDesktop& printDesktop, QWidget* parent)
    : QDialog(parent),
      model(std::move(checkModel)),
      desktop(printDesktop),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
    promptLabel = new QLabel(captions[kPrompt], this);
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
    statusLabel->setAccessibleDescription(captions[kStatusName]);
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
    resultText->setAccessibleName(SpokenCaption(captions[kResultName]));
    resultText->setMinimumHeight(90);
    resultText->hide();
    checkButton = new QPushButton(captions[kCheck], this);
    checkButton->setDefault(true);
    printButton = new QPushButton(captions[kPrint], this);
    printButton->setEnabled(false);
    closeButton = new QPushButton(captions[kClose], this);
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
    const QStringList legend = captions.mid(kLegendRight, kCounts - kLegendRight);
    resultView->SetResult(
        std::make_unique<CCopyCheckPainter>(model.SentText(), *view.result, legend));
    const QStringList heading = Heading(*view.result);
    scoreLabel->setText(heading.value(0));
    countsLabel->setText(heading.value(1));
    confusionLabel->setText(heading.value(2));
    resultText->setPlainText(ResultLines(view).join(QLatin1Char('\n')));
    for (QWidget* shown : std::initializer_list<QWidget*>{resultView, scoreLabel, countsLabel,
                                                          confusionLabel, resultText}) {
        shown->show();
    }
}

QStringList CKontrolaDlg::Heading(const CCopyCheck& result) const {
    const QString score = captions[kScore]
                              .arg(messages::Number(result.ScorePercent(), 1))
                              .arg(result.CorrectCount())
                              .arg(result.SentCount())
                              .arg(result.ExtraCount());
    const QString counts = captions[kCounts]
                               .arg(result.CorrectCount())
                               .arg(result.WrongCount())
                               .arg(result.MissedCount())
                               .arg(result.ExtraCount())
                               .arg(result.TranspositionCount());
    return {score, counts,
            FormatConfusions(result.Confusions(), CKontrolaModel::kShownConfusions,
                             captions[kConfusions], captions[kConfusion], captions[kNoConfusions])};
}

QStringList CKontrolaDlg::ResultLines(const CKontrolaModel::View& view) const {
    using Line = CKontrolaModel::Line;
    const QStringList heading = Heading(*view.result);
    QStringList lines{heading.value(0), heading.value(1)};
    lines << (view.differences.empty() ? captions[kNoDifferences] : captions[kDifferences]);
    for (const CKontrolaModel::DifferenceLine& difference : view.differences) {
        const std::pair<Line, Caption> templates[] = {
            {Line::kWrongAt, kWrongAt},         {Line::kMissedAt, kMissedAt},
            {Line::kMissedGroup, kMissedGroup}, {Line::kSwappedAt, kSwappedAt},
            {Line::kExtraAfter, kExtraAfter},   {Line::kExtraAtStart, kExtraAtStart}};
        QString line;
        for (const auto& [kind, caption] : templates) {
            if (kind == difference.line) {
                line = captions[caption];
            }
        }
        // Every template takes the same five values; a language file may leave some out.
        for (std::size_t k = 0; k < difference.values.size(); ++k) {
            line.replace(QStringLiteral("%") + QString::number(k + 1),
                         FromCp1250(difference.values[k]));
        }
        lines << line;
    }
    lines << heading.value(2);
    return lines;
}

void CKontrolaDlg::OnPrint() {
    if (!model.Result() || resultView->Result() == nullptr) {
        return;
    }
    QStringList heading{captions[kTitle]};
    heading << Heading(*model.Result());
    CTiskDlg(CTiskModel(), desktop, this).PrintCopyCheck(*resultView->Result(), heading);
}
