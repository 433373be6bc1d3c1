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
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "print/Cp1250.h"
#include "session/CRozpoznaniModel.h"
#include "session/CVolaciZnakyModel.h"
#include "ui/CCallsignRunsView.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/Tables.h"
#include "ui/WindowFit.h"

using C = CStatistikaModel;

QStringList CStatistikaDlg::CzechCaptions() {
    return Captions(C::CzechCaptions());
}

CStatistikaDlg::CStatistikaDlg(CStatistikaModel statistics, const QStringList& kindNames,
                               const QString& languageFile, QWidget* parent)
    : QDialog(parent),
      model(std::move(statistics)),
      captions(ReadCaptionsOver(languageFile, 0, CzechCaptions())) {
    model.SetLanguage(Utf8Captions(captions), Utf8Captions(kindNames),
                      messages::DecimalSign().toStdString());
    setWindowTitle(captions[C::kTitle]);
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
    emptyLabel = new QLabel(captions[C::kEmpty], this);
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
    table->setAccessibleName(captions[C::kTableName]);
    scoreView->setAccessibleName(captions[C::kScoreTitle]);
    errorView->setAccessibleName(captions[C::kErrorTitle]);
    // Tab reaches the charts too; a reader says their figures, which are their descriptions.
    scoreView->setFocusPolicy(Qt::TabFocus);
    errorView->setFocusPolicy(Qt::TabFocus);
    column->addWidget(table, 2);
    table->setMinimumHeight(MinimumTableHeight());
    confusionLabel = new QLabel(this);
    confusionLabel->setWordWrap(true);
    column->addWidget(confusionLabel);
    snrLabel = new QLabel(captions[C::kSnrHeading], this);
    snrTable = new QTableWidget(this);
    snrLabel->setBuddy(snrTable);
    snrTable->setAccessibleName(snrLabel->text().remove(QLatin1Char(':')));
    column->addWidget(snrLabel);
    column->addWidget(snrTable, 1);
    snrTable->setMinimumHeight(MinimumTableHeight());
    closeButton = new QPushButton(captions[C::kClose], this);
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
    BuildTable();
    BuildSnrTable();
}

void CStatistikaDlg::BuildCharts() {
    const CStatistikaModel::View& view = model.GetView();
    // The score of each check, numbered in order; the table below gives its date and speeds.
    auto* scoreChart = new QChart;
    scoreChart->setTitle(captions[C::kScoreTitle]);
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
    checks->setTitleText(captions[C::kCheckAxis]);
    checks->setLabelFormat(QStringLiteral("%d"));
    checks->setRange(view.checkAxis.low, view.checkAxis.high);
    checks->setTickType(QValueAxis::TicksDynamic);
    checks->setTickAnchor(1);
    checks->setTickInterval(view.checkAxis.step);
    auto* share = new QValueAxis;
    share->setTitleText(captions[C::kScoreAxis]);
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
    // The latest scores, for a reader; the table has them all.
    scoreView->setAccessibleDescription(QString::fromStdString(model.ScoresSaid()));

    // Each character's error rate over the whole history, the worst first.
    auto* errorChart = new QChart;
    errorChart->setTitle(captions[C::kErrorTitle]);
    errorChart->legend()->hide();
    errorBars = new QBarSet(captions[C::kErrorAxis]);
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
    rates->setTitleText(captions[C::kErrorAxis]);
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
    errorView->setAccessibleDescription(QString::fromStdString(model.RatesSaid()));
    errorView->setRenderHint(QPainter::Antialiasing);

    confusionLabel->setText(QString::fromStdString(model.ConfusionsText()));
}

void CStatistikaDlg::BuildTable() {
    const std::vector<CStatistikaModel::Row>& rows = model.GetView().rows;
    FillTable(*table, model.HistoryTable());
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
    FillTable(*snrTable, model.SnrTable());
}

void CStatistikaDlg::ShowCallsignRuns(const QString& languageFile) {
    const std::vector<CStatistikaModel::View::CallsignRun>& runs = model.GetView().callsignRuns;
    if (runs.empty() || callsignRuns) {
        return;
    }
    const QStringList runCaptions =
        ReadCaptionsOver(languageFile, 0, Captions(CVolaciZnakyModel::CzechCaptions()));
    callsignRuns = new CCallsignRunsView(model.CallsignRunTable(Utf8Captions(runCaptions)),
                                         runCaptions[CVolaciZnakyModel::kRunsHeading],
                                         runCaptions[CVolaciZnakyModel::kRunsTableName], this);
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

void CStatistikaDlg::ShowSendingSessions(const QString& languageFile) {
    if (model.GetView().sendingSessions.empty() || sendingTable) {
        return;
    }
    const QStringList sendingCaptions =
        ReadCaptionsOver(languageFile, 0, Captions(C::SendingCzechCaptions()));
    const CaptionList utf8 = Utf8Captions(sendingCaptions);
    auto* heading = new QLabel(sendingCaptions[C::kSendingHeading], this);
    sendingTable = new QTableWidget(this);
    heading->setBuddy(sendingTable);
    sendingTable->setAccessibleName(heading->text().remove(QLatin1Char(':')));
    sendingTable->verticalHeader()->setVisible(false);
    FillTable(*sendingTable, model.SendingTable(utf8));
    sendingProgress = new QLabel(QString::fromStdString(model.SendingProgress(utf8)), this);
    sendingProgress->setWordWrap(true);
    sendingProgress->setVisible(!sendingProgress->text().isEmpty());
    // A reader in the table hears the progress too.
    sendingTable->setAccessibleDescription(sendingProgress->text());
    // The last of the sections.
    sections->addWidget(heading);
    sections->addWidget(sendingTable, 2);
    sections->addWidget(sendingProgress);
    sendingTable->setMinimumHeight(MinimumTableHeight());
    if (!emptyLabel->isHidden()) {
        // Without checks the window was small: room for the table, which takes the room the
        // hidden charts would have had.
        for (int k = 0; k < sections->count(); ++k) {
            if (sections->itemAt(k)->layout() != nullptr && sections->itemAt(k)->isEmpty()) {
                sections->setStretch(k, 0);
            }
        }
        resize(std::max(width(), 640), std::max(height(), 420));
    }
    // Wide enough for every column where the screen allows: the right share is the last.
    const int wanted = sendingTable->horizontalHeader()->length() + 2 * sendingTable->frameWidth() +
                       fontMetrics().horizontalAdvance(QStringLiteral("MMMM"));
    const int most = screen() != nullptr ? screen()->availableGeometry().width() - 40 : wanted;
    resize(std::max(width(), std::min(wanted, most)), height());
}

void CStatistikaDlg::ShowReactionTimes(const QString& languageFile) {
    const std::vector<CStatistikaModel::Reaction>& totals = model.GetView().reactions;
    if (totals.empty() || reactionTable) {
        return;
    }
    const QStringList reactionCaptions =
        ReadCaptionsOver(languageFile, 0, Captions(CRozpoznaniModel::CzechCaptions()));
    auto* heading = new QLabel(reactionCaptions[CRozpoznaniModel::kStatisticsHeading], this);
    reactionTable = new QTableWidget(this);
    heading->setBuddy(reactionTable);
    reactionTable->setAccessibleName(reactionCaptions[CRozpoznaniModel::kStatisticsName]);
    reactionTable->verticalHeader()->setVisible(false);
    FillTable(*reactionTable, model.ReactionTable(Utf8Captions(reactionCaptions)));
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
