#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

#include "session/CStatistikaModel.h"

class CCallsignRunsView;
class QBarSet;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QTableWidget;

// "Statistika": the progress over the copy checks of the history. The score of each check as a
// line, each character's error rate as bars (the worst first), a table of the checks with their
// kind, lesson and speeds, the confusions of the last checks, and the score against the noise the
// texts were heard in. With no history it says so. The figures are the model's; the dialog renders
// them. User-interface thread only.
class CStatistikaDlg : public QDialog {
    Q_OBJECT

public:
    // `kindNames`: the names of the text kinds by number.
    CStatistikaDlg(CStatistikaModel model, const QStringList& kindNames,
                   const QString& languageFile, QWidget* parent = nullptr);

    QLineSeries* ScoreSeries() const { return scoreSeries; }
    QBarSet* ErrorBars() const { return errorBars; }
    QStringList ErrorCategories() const { return categories; }
    QTableWidget* Table() const { return table; }
    QLabel* EmptyLabel() const { return emptyLabel; }
    QLabel* ConfusionLabel() const { return confusionLabel; }
    QChartView* ScoreView() const { return scoreView; }
    QChartView* ErrorView() const { return errorView; }
    // The score against the signal-to-noise ratio, shown once a check was heard in noise.
    QTableWidget* SnrTable() const { return snrTable; }

    // Adds each character's median reaction in instant recognition beside its error rates (in the
    // copy checks and in recognition), the slowest first, as a table; `languageFile` is the
    // recognition dialog's ("localRZ"). Nothing shows without any runs.
    void ShowReactionTimes(const QString& languageFile);
    QTableWidget* ReactionTable() const { return reactionTable; }
    // Adds the last runs of callsigns below the checks (nothing when there are none);
    // `languageFile` is the callsign dialog's ("localVZ").
    void ShowCallsignRuns(const QString& languageFile);
    CCallsignRunsView* CallsignRuns() const { return callsignRuns; }
    // Adds the last sessions of sending practice below the sections shown so far, the oldest
    // first, with the line of their progress (nothing when there are none); `languageFile` is
    // "localVS". The table is named by its heading and describes itself by the progress.
    void ShowSendingSessions(const QString& languageFile);
    QTableWidget* SendingTable() const { return sendingTable; }
    QLabel* SendingProgress() const { return sendingProgress; }

    // The built-in captions, in the order of the language file "localST".
    static QStringList CzechCaptions();

private:
    // The least height of a table: its header and several rows.
    int MinimumTableHeight() const;

    void BuildCharts();
    void BuildTable();
    void BuildSnrTable();

    CStatistikaModel model;
    QStringList captions;
    QStringList categories;
    QLineSeries* scoreSeries = nullptr;
    QBarSet* errorBars = nullptr;
    QChartView* scoreView = nullptr;
    QChartView* errorView = nullptr;
    QTableWidget* table = nullptr;
    QLabel* emptyLabel = nullptr;
    QLabel* confusionLabel = nullptr;
    QLabel* snrLabel = nullptr;
    QTableWidget* snrTable = nullptr;
    QPushButton* closeButton = nullptr;
    QTableWidget* reactionTable = nullptr;
    // The column of sections inside the scrolled area.
    class QVBoxLayout* sections = nullptr;
    CCallsignRunsView* callsignRuns = nullptr;
    QTableWidget* sendingTable = nullptr;
    QLabel* sendingProgress = nullptr;
};
