#include "ui/CKontrolaDlg.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/AsciiText.h"
#include "core/CMorseTable.h"
#include "core/CNotifier.h"
#include "session/CheckHistory.h"
#include "training/CCopyCheckDifferences.h"
#include "ui/Accessibility.h"
#include "ui/CCopyCheckPainter.h"
#include "ui/CCopyResultView.h"
#include "ui/CTextView.h"
#include "ui/CTiskDlg.h"
#include "ui/ConfusionText.h"
#include "ui/Cp1250.h"
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

// Keeps the characters a cleaning refused, for the status line, instead of a message box that
// would take the next keystroke.
class CRefusedCharacters : public CSilentNotifier {
public:
    void InvalidCharacterRemoved(char character) override { refused.push_back(character); }
    std::string refused;
};

// How many confusions the result lists.
constexpr int kShownConfusions = 5;

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

CKontrolaDlg::CKontrolaDlg(const QString& sent, const CheckRecord& sendingRecord,
                           const QString& history, const QString& languageFile, CNotifier& warnings,
                           CDesktop& printDesktop, QWidget* parent)
    : QDialog(parent),
      sentText(sent),
      record(sendingRecord),
      historyPath(history),
      notifier(warnings),
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
    const int caret = edit->textCursor().position();
    QString cleaned = accepted;
    CRefusedCharacters refused;
    if (shown.size() <= kLimit) {
        // Each line is checked as a custom text is, letters as capitals; the line breaks stay, as
        // groups were written down in lines.
        QStringList lines = shown.split(QLatin1Char('\n'));
        for (QString& line : lines) {
            std::string bytes = AsciiUpper(ToCp1250(line));
            CMorseTable::RemoveInvalidCharacters(bytes, false, refused);
            line = FromCp1250(bytes);
        }
        cleaned = lines.join(QLatin1Char('\n'));
    }
    // A refused character is said in the status line; the user types on.
    if (!refused.refused.empty()) {
        statusLabel->setText(messages::RefusedCharacter(FromCp1250(refused.refused.back())));
    } else if (cleaned == shown) {
        statusLabel->clear();
    }
    accepted = cleaned;
    if (cleaned == shown) {
        return;
    }
    writing = true;
    edit->setPlainText(cleaned);
    QTextCursor cursor = edit->textCursor();
    const int lost = static_cast<int>(shown.size() - cleaned.size());
    cursor.setPosition(std::clamp(caret - lost, 0, static_cast<int>(cleaned.size())));
    edit->setTextCursor(cursor);
    writing = false;
}

void CKontrolaDlg::OnCheck() {
    if (result) {
        return;
    }
    result.emplace(ToCp1250(sentText), ToCp1250(edit->toPlainText()));
    record = RecordCopyCheck(record, *result, std::chrono::system_clock::now(),
                             historyPath.toStdString(), notifier);

    QStringList legend = captions.mid(kLegendRight, kCounts - kLegendRight);
    resultView->SetResult(std::make_unique<CCopyCheckPainter>(sentText, *result, legend));
    resultView->show();
    const QStringList heading = Heading();
    scoreLabel->setText(heading.value(0));
    countsLabel->setText(heading.value(1));
    confusionLabel->setText(heading.value(2));
    statusLabel->clear();
    scoreLabel->show();
    countsLabel->show();
    confusionLabel->show();
    resultText->setPlainText(ResultLines().join(QLatin1Char('\n')));
    resultText->show();
    edit->setReadOnly(true);
    checkButton->setEnabled(false);
    printButton->setEnabled(true);
    resultText->setFocus();
    ResizeWithinScreen(
        *this, QSize(std::max(width(), 1000),
                     height() + resultView->heightForWidth(1000) + resultText->minimumHeight()));
}

QStringList CKontrolaDlg::Heading() const {
    if (!result) {
        return {};
    }
    const QString score = captions[kScore]
                              .arg(messages::Number(result->ScorePercent(), 1))
                              .arg(result->CorrectCount())
                              .arg(result->SentCount())
                              .arg(result->ExtraCount());
    const QString counts = captions[kCounts]
                               .arg(result->CorrectCount())
                               .arg(result->WrongCount())
                               .arg(result->MissedCount())
                               .arg(result->ExtraCount())
                               .arg(result->TranspositionCount());
    return {score, counts,
            FormatConfusions(result->Confusions(), kShownConfusions, captions[kConfusions],
                             captions[kConfusion], captions[kNoConfusions])};
}

QStringList CKontrolaDlg::ResultLines() const {
    if (!result) {
        return {};
    }
    using Kind = CCopyCheckDifferences::Kind;
    const QStringList heading = Heading();
    QStringList lines{heading.value(0), heading.value(1)};
    const CCopyCheckDifferences differences(ToCp1250(sentText), *result);
    lines << (differences.List().empty() ? captions[kNoDifferences] : captions[kDifferences]);
    for (const CCopyCheckDifferences::Difference& d : differences.List()) {
        Caption format = kWrongAt;
        switch (d.kind) {
            case Kind::Wrong:
                format = kWrongAt;
                break;
            case Kind::Missed:
                format = kMissedAt;
                break;
            case Kind::MissedGroup:
                format = kMissedGroup;
                break;
            case Kind::Swapped:
                format = kSwappedAt;
                break;
            case Kind::Extra:
                format = d.group > 0 ? kExtraAfter : kExtraAtStart;
                break;
        }
        // Every template takes the same five values; a language file may leave some out.
        QString line = captions[format];
        const QString values[] = {QString::number(d.group), QString::number(d.character),
                                  FromCp1250(d.sent), FromCp1250(d.copied),
                                  QString::number(d.character + 1)};
        for (int k = 0; k < 5; ++k) {
            line.replace(QStringLiteral("%") + QString::number(k + 1), values[k]);
        }
        lines << line;
    }
    lines << heading.value(2);
    return lines;
}

void CKontrolaDlg::OnPrint() {
    if (!result || resultView->Result() == nullptr) {
        return;
    }
    QStringList heading{captions[kTitle]};
    heading << Heading();
    CTiskDlg(desktop, this).PrintCopyCheck(*resultView->Result(), heading);
}
