#include "ui/CCallsignRunsView.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "training/CCallsignRun.h"
#include "ui/LanguageCaptions.h"
#include "ui/Messages.h"
#include "ui/Tables.h"

namespace {

enum Caption {
    kHeading,
    kColumnDate,
    kColumnStart,
    kColumnScore,
    kColumnHighest,
    kColumnRight,
    kTableName,
    kColumnState,
    kFinished,
    kLeft,
};

}  // namespace

QStringList CCallsignRunsView::CzechCaptions() {
    return {QStringLiteral("Běhy volacích znaků (nejnovější nahoře):"),
            QStringLiteral("Datum"),
            QStringLiteral("Počáteční rychlost"),
            QStringLiteral("Skóre"),
            QStringLiteral("Nejvyšší rychlost"),
            QStringLiteral("Správně"),
            QStringLiteral("Běhy volacích znaků"),
            QStringLiteral("Stav"),
            QStringLiteral("dokončen"),
            QStringLiteral("nedokončen, %1 z %2 odpovědí")};
}

CCallsignRunsView::CCallsignRunsView(const std::vector<CStatistikaModel::View::CallsignRun>& runs,
                                     const QString& languageFile, QWidget* parent)
    : QWidget(parent),
      captions(ReadCaptionsOver(languageFile, kFirstCaptionLine, CzechCaptions())) {
    heading = new QLabel(captions[kHeading], this);
    table = new QTableWidget(this);
    heading->setBuddy(table);
    table->setAccessibleName(captions[kTableName]);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(heading);
    column->addWidget(table);

    table->verticalHeader()->setVisible(false);
    const std::size_t shown = std::min(runs.size(), static_cast<std::size_t>(kShownRuns));
    std::vector<QStringList> rows;
    for (std::size_t k = 0; k < shown; ++k) {
        const CallsignRunRecord& run = runs[k].run;
        const QString when = QStringLiteral("%1-%2-%3 %4:%5")
                                 .arg(run.year, 4, 10, QLatin1Char('0'))
                                 .arg(run.month, 2, 10, QLatin1Char('0'))
                                 .arg(run.day, 2, 10, QLatin1Char('0'))
                                 .arg(run.hour, 2, 10, QLatin1Char('0'))
                                 .arg(run.minute, 2, 10, QLatin1Char('0'));
        rows.push_back(
            {when, QString::number(run.startSpeed), QString::number(run.score),
             QString::number(run.highestSpeed),
             messages::Number(100.0 * run.RightShare(), 0) + QStringLiteral(" %"),
             runs[k].finished
                 ? captions[kFinished]
                 : captions[kLeft].arg(run.answers.size()).arg(CCallsignRun::kCallsigns)});
    }
    FillTable(*table,
              {captions[kColumnDate], captions[kColumnStart], captions[kColumnScore],
               captions[kColumnHighest], captions[kColumnRight], captions[kColumnState]},
              rows);
}
