#pragma once

#include <QString>
#include <QWidget>

#include "session/CStatistikaModel.h"

class QLabel;
class QTableWidget;

// The last runs of callsigns in the statistics window: the model's table of each run's date,
// start speed, score, highest speed, share of right answers and whether it was finished, under
// its heading and named for a screen reader. User-interface thread only.
class CCallsignRunsView : public QWidget {
    Q_OBJECT

public:
    CCallsignRunsView(const CStatistikaModel::TextTable& runs, const QString& headingText,
                      const QString& tableName, QWidget* parent = nullptr);

    QTableWidget* Table() const { return table; }
    QLabel* Heading() const { return heading; }

private:
    QLabel* heading = nullptr;
    QTableWidget* table = nullptr;
};
