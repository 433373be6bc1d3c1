#include "ui/CStatistikaDlg.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "print/ConfusionText.h"
#include "print/Cp1250.h"
#include "ui/CCallsignRunsView.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/Tables.h"
#include "ui/WindowFit.h"

namespace {

enum Caption {
    kTitle,
    kEmpty,
    kScoreTitle,
    kScoreAxis,
    kCheckAxis,
    kErrorTitle,
    kErrorAxis,
    kConfusions,
    kConfusion,
    kNoConfusions,
    kClose,
    kColumnDate,
    kColumnKind,
    kColumnLesson,
    kColumnSign,
    kColumnText,
    kColumnRatio,
    kColumnSent,
    kColumnErrors,
    kColumnScore,
    kColumnRight,
    kColumnWrong,
    kColumnMissed,
    kColumnExtra,
    kSnrHeading,
    kSnrColumn,
    kSnrChecks,
    kWithoutNoise,
    kTableName,
};

// The table's columns, in the order shown.
constexpr Caption kColumns[] = {kColumnDate,  kColumnKind,   kColumnLesson, kColumnSign,
                                kColumnText,  kColumnRatio,  kColumnSent,   kColumnRight,
                                kColumnWrong, kColumnMissed, kColumnExtra,  kColumnErrors,
                                kColumnScore};

// Column headings are wrapped at about this many characters a line, so that the table's thirteen
// columns, named in full words, fit a 1024-pixel screen.
constexpr qsizetype kHeadingLine = 10;

// Breaks a heading into lines of whole words, each at most kHeadingLine characters long where
// its words allow.
QString Heading(const QString& caption) {
    QString wrapped;
    qsizetype lineLength = 0;
    for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (lineLength == 0) {
            lineLength = word.size();
        } else if (lineLength + 1 + word.size() <= kHeadingLine) {
            wrapped += QLatin1Char(' ');
            lineLength += 1 + word.size();
        } else {
            wrapped += QLatin1Char('\n');
            lineLength = word.size();
        }
        wrapped += word;
    }
    return wrapped;
}

// How many of the latest scores a reader hears from the chart.
constexpr std::size_t kScoresSaid = 20;

QString Percent(double value) {
    return messages::Number(value, 1) + QStringLiteral(" %");
}

}  // namespace

QStringList CStatistikaDlg::CzechCaptions() {
    return {QStringLiteral("Statistika"),
            QStringLiteral("Zatím není uložena žádná kontrola opisu. Po vysílání zvolte "
                           "Výcvik → Kontrola opisu."),
            QStringLiteral("Úspěšnost kontrol"),
            QStringLiteral("správně opsáno (%)"),
            QStringLiteral("kontrola"),
            QStringLiteral("Chybovost znaků (nejhorší první)"),
            QStringLiteral("chybně nebo vynecháno (%)"),
            QStringLiteral("Záměny v posledních kontrolách:"),
            QStringLiteral("odesláno %1, opsáno %2: %3×"),
            QStringLiteral("žádné"),
            QStringLiteral("&Zavřít"),
            QStringLiteral("Datum"),
            QStringLiteral("Druh textu"),
            QStringLiteral("Lekce"),
            QStringLiteral("Rychlost značky (znaků za minutu)"),
            QStringLiteral("Rychlost textu (znaků za minutu)"),
            QStringLiteral("Poměr tečka : čárka"),
            QStringLiteral("Odeslané znaky"),
            QStringLiteral("Chyby celkem"),
            QStringLiteral("Skóre"),
            QStringLiteral("Správně"),
            QStringLiteral("Chybně"),
            QStringLiteral("Vynecháno"),
            QStringLiteral("Navíc"),
            QStringLiteral("Úspěšnost podle odstupu signálu od šumu:"),
            QStringLiteral("Odstup od šumu (dB)"),
            QStringLiteral("Kontroly"),
            QStringLiteral("bez šumu"),

            QStringLiteral("Kontroly opisu")};
}

CStatistikaDlg::CStatistikaDlg(CStatistikaModel statistics, const QStringList& kindNames,
                               const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(std::move(statistics)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    setWindowTitle(captions[kTitle]);
    // The sections scroll inside the window, each at a size that reads whole (a chart with its
    // axis titles, a table with several rows), so that the window fits any screen.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget(scroll);
    scroll->setWidget(content);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    sections = column;
    emptyLabel = new QLabel(captions[kEmpty], this);
    emptyLabel->setWordWrap(true);
    column->addWidget(emptyLabel);
    scoreView = new QChartView(this);
    errorView = new QChartView(this);
    auto* charts = new QHBoxLayout;
    // The bars get the wider part: each of them carries its character.
    charts->addWidget(scoreView, 2);
    charts->addWidget(errorView, 3);
    column->addLayout(charts, 3);
    const int line = fontMetrics().lineSpacing();
    scoreView->setMinimumHeight(20 * line);
    errorView->setMinimumHeight(20 * line);
    table = new QTableWidget(this);
    // A reader walks the table; the charts are named by their titles.
    table->setAccessibleName(captions[kTableName]);
    scoreView->setAccessibleName(captions[kScoreTitle]);
    errorView->setAccessibleName(captions[kErrorTitle]);
    // Tab reaches the charts too; a reader says their figures, which are their descriptions.
    scoreView->setFocusPolicy(Qt::TabFocus);
    errorView->setFocusPolicy(Qt::TabFocus);
    column->addWidget(table, 2);
    table->setMinimumHeight(MinimumTableHeight());
    confusionLabel = new QLabel(this);
    confusionLabel->setWordWrap(true);
    column->addWidget(confusionLabel);
    snrLabel = new QLabel(captions[kSnrHeading], this);
    snrTable = new QTableWidget(this);
    snrLabel->setBuddy(snrTable);
    snrTable->setAccessibleName(snrLabel->text().remove(QLatin1Char(':')));
    column->addWidget(snrLabel);
    column->addWidget(snrTable, 1);
    snrTable->setMinimumHeight(MinimumTableHeight());
    closeButton = new QPushButton(captions[kClose], this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* window = new QVBoxLayout(this);
    window->addWidget(scroll, 1);
    window->addLayout(buttons);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    ResizeWithinScreen(*this, QSize(1100, 720));

    const bool empty = model.GetView().empty;
    emptyLabel->setVisible(empty);
    scoreView->setVisible(!empty);
    errorView->setVisible(!empty);
    table->setVisible(!empty);
    confusionLabel->setVisible(!empty);
    snrLabel->setVisible(false);
    snrTable->setVisible(false);
    if (empty) {
        resize(520, 160);
        return;
    }
    BuildCharts();
    BuildTable(kindNames);
    BuildSnrTable();
}

void CStatistikaDlg::BuildCharts() {
    const CStatistikaModel::View& view = model.GetView();
    // The score of each check, numbered in order; the table below gives its date and speeds.
    auto* scoreChart = new QChart;
    scoreChart->setTitle(captions[kScoreTitle]);
    scoreChart->legend()->hide();
    scoreSeries = new QLineSeries;
    auto* points = new QScatterSeries;
    points->setMarkerSize(8);
    const QColor line(32, 120, 200);
    scoreSeries->setColor(line);
    points->setColor(line);
    points->setBorderColor(line);
    for (std::size_t k = 0; k < view.scores.size(); ++k) {
        const QPointF point(static_cast<double>(k + 1), view.scores[k]);
        scoreSeries->append(point);
        points->append(point);
    }
    scoreChart->addSeries(scoreSeries);
    scoreChart->addSeries(points);
    auto* checks = new QValueAxis;
    checks->setTitleText(captions[kCheckAxis]);
    checks->setLabelFormat(QStringLiteral("%d"));
    checks->setRange(view.checkAxis.low, view.checkAxis.high);
    checks->setTickType(QValueAxis::TicksDynamic);
    checks->setTickAnchor(1);
    checks->setTickInterval(view.checkAxis.step);
    auto* share = new QValueAxis;
    share->setTitleText(captions[kScoreAxis]);
    share->setRange(0, 100);
    share->setLabelFormat(QStringLiteral("%d"));
    scoreChart->addAxis(checks, Qt::AlignBottom);
    scoreChart->addAxis(share, Qt::AlignLeft);
    for (QAbstractSeries* series : scoreChart->series()) {
        series->attachAxis(checks);
        series->attachAxis(share);
    }
    scoreView->setChart(scoreChart);
    scoreView->setRenderHint(QPainter::Antialiasing);
    // The latest scores, for a reader, by their numbers on the axis; the table has them all.
    QStringList scoreTexts;
    const std::size_t said = std::min<std::size_t>(view.scores.size(), kScoresSaid);
    for (std::size_t k = view.scores.size() - said; k < view.scores.size(); ++k) {
        scoreTexts << QString::number(k + 1) + QStringLiteral(": ") + Percent(view.scores[k]);
    }
    scoreView->setAccessibleDescription(scoreTexts.join(QStringLiteral(", ")));

    // Each character's error rate over the whole history, the worst first.
    auto* errorChart = new QChart;
    errorChart->setTitle(captions[kErrorTitle]);
    errorChart->legend()->hide();
    errorBars = new QBarSet(captions[kErrorAxis]);
    for (const CStatistikaModel::Bar& bar : view.bars) {
        categories << FromCp1250(bar.character);
        *errorBars << bar.percent;
    }
    auto* bars = new QBarSeries;
    bars->append(errorBars);
    errorChart->addSeries(bars);
    // Every bar names its character: a label is one character, never cut to an ellipsis.
    auto* characters = new QBarCategoryAxis;
    characters->append(categories);
    characters->setTruncateLabels(false);
    QFont labelFont = characters->labelsFont();
    labelFont.setBold(true);
    characters->setLabelsFont(labelFont);
    auto* rates = new QValueAxis;
    rates->setTitleText(captions[kErrorAxis]);
    rates->setRange(view.rateAxis.low, view.rateAxis.high);
    rates->setTickType(QValueAxis::TicksDynamic);
    rates->setTickAnchor(0);
    rates->setTickInterval(view.rateAxis.step);
    rates->setLabelFormat(QStringLiteral("%d"));
    errorChart->addAxis(characters, Qt::AlignBottom);
    errorChart->addAxis(rates, Qt::AlignLeft);
    bars->attachAxis(characters);
    bars->attachAxis(rates);
    errorView->setChart(errorChart);
    // What the bars show, for a reader.
    QStringList rateTexts;
    for (qsizetype k = 0; k < categories.size(); ++k) {
        rateTexts << categories[k] + QStringLiteral(" ") + Percent(errorBars->at(k));
    }
    errorView->setAccessibleDescription(rateTexts.join(QStringLiteral(", ")));
    errorView->setRenderHint(QPainter::Antialiasing);

    confusionLabel->setText(FormatConfusions(view.confusions, CStatistikaModel::kShownConfusions,
                                             captions[kConfusions], captions[kConfusion],
                                             captions[kNoConfusions]));
}

void CStatistikaDlg::BuildTable(const QStringList& kindNames) {
    const std::vector<CStatistikaModel::Row>& rows = model.GetView().rows;
    QStringList headers;
    for (const Caption column : kColumns) {
        headers << Heading(captions[column]);
    }
    std::vector<QStringList> cells;
    for (const CStatistikaModel::Row& r : rows) {
        cells.push_back(
            {QString::fromStdString(r.date), kindNames.value(r.kind, QString::number(r.kind)),
             r.lesson ? QString::number(*r.lesson) : QStringLiteral("–"),
             QString::number(r.signSpeed), QString::number(r.textSpeed),
             QStringLiteral("1 : ") + messages::Number(r.ratio, 1), QString::number(r.sent),
             QString::number(r.right), QString::number(r.wrong), QString::number(r.missed),
             QString::number(r.extra), QString::number(r.errors), Percent(r.score)});
    }
    FillTable(*table, headers, cells);
    // Each check by its number on the chart's axis.
    for (std::size_t k = 0; k < rows.size(); ++k) {
        table->setVerticalHeaderItem(static_cast<int>(k),
                                     new QTableWidgetItem(QString::number(rows[k].number)));
    }
}

void CStatistikaDlg::BuildSnrTable() {
    const CStatistikaModel::View& view = model.GetView();
    snrLabel->setVisible(view.anyNoise);
    snrTable->setVisible(view.anyNoise);
    snrTable->verticalHeader()->setVisible(false);
    std::vector<QStringList> cells;
    for (const CHistoryStatistics::SnrScore& score : view.snr) {
        cells.push_back({score.snrDb ? QString::number(*score.snrDb) : captions[kWithoutNoise],
                         QString::number(score.checks), QString::number(score.sent),
                         Percent(score.score)});
    }
    FillTable(
        *snrTable,
        {captions[kSnrColumn], captions[kSnrChecks], captions[kColumnSent], captions[kColumnScore]},
        cells);
}

void CStatistikaDlg::ShowCallsignRuns(const QString& languageFile) {
    const std::vector<CStatistikaModel::View::CallsignRun>& runs = model.GetView().callsignRuns;
    if (runs.empty() || callsignRuns) {
        return;
    }
    callsignRuns = new CCallsignRunsView(runs, languageFile, this);
    // The last of the sections.
    QVBoxLayout* column = sections;
    column->addWidget(callsignRuns, 2);
    callsignRuns->Table()->setMinimumHeight(MinimumTableHeight());
    if (!emptyLabel->isHidden()) {
        // Without checks the window was small: room for the table of runs, which takes the room
        // the hidden charts would have had.
        for (int k = 0; k < column->count(); ++k) {
            if (column->itemAt(k)->layout() != nullptr && column->itemAt(k)->isEmpty()) {
                column->setStretch(k, 0);
            }
        }
        resize(std::max(width(), 640), std::max(height(), 420));
    }
}

void CStatistikaDlg::ShowReactionTimes(const QStringList& reactionCaptions) {
    const std::vector<CStatistikaModel::Reaction>& totals = model.GetView().reactions;
    if (totals.empty() || reactionTable) {
        return;
    }
    auto* heading = new QLabel(reactionCaptions.value(0), this);
    reactionTable = new QTableWidget(this);
    heading->setBuddy(reactionTable);
    reactionTable->setAccessibleName(reactionCaptions.value(1));
    reactionTable->verticalHeader()->setVisible(false);
    std::vector<QStringList> cells;
    for (const CStatistikaModel::Reaction& total : totals) {
        cells.push_back(
            {FromCp1250(total.character),
             total.medianMilliseconds ? QString::number(*total.medianMilliseconds)
                                      : QStringLiteral("–"),
             Percent(total.errorPercent),
             total.copyErrorPercent ? Percent(*total.copyErrorPercent) : QStringLiteral("–"),
             QString::number(total.early)});
    }
    FillTable(*reactionTable, reactionCaptions.mid(2, 4) << reactionCaptions.value(6), cells);
    // The last of the sections.
    sections->addWidget(heading);
    sections->addWidget(reactionTable, 1);
    reactionTable->setMinimumHeight(MinimumTableHeight());
    if (emptyLabel->isVisible()) {
        resize(520, 420);
    }
}

int CStatistikaDlg::MinimumTableHeight() const {
    // The header and five rows, with the frame and a horizontal scroll bar.
    return 8 * fontMetrics().lineSpacing() + 2 * QFontMetrics(font()).height();
}
