#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "session/CStatistikaModel.h"

class QLabel;
class QTableWidget;

// The last runs of callsigns in the statistics window: a table of each run's date, start speed,
// score, highest speed, share of right answers and whether it was finished, in the model's order
// (finished runs first), named for a screen reader. User-interface thread only.
class CCallsignRunsView : public QWidget {
    Q_OBJECT

public:
    // At most this many runs are shown.
    static constexpr int kShownRuns = 20;
    // The first line of its captions in the language file "localVZ", after the dialog's.
    static constexpr int kFirstCaptionLine = 17;

    CCallsignRunsView(const std::vector<CStatistikaModel::View::CallsignRun>& runs,
                      const QString& languageFile, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table; }
    QLabel* Heading() const { return heading; }

    // The built-in captions, in the order of the language file from kFirstCaptionLine on.
    static QStringList CzechCaptions();

private:
    QStringList captions;
    QLabel* heading = nullptr;
    QTableWidget* table = nullptr;
};
