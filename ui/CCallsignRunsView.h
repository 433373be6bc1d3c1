#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "training/CallsignRunRecord.h"

class QLabel;
class QTableWidget;

// The last runs of callsigns in the statistics window: a table of each run's date, start speed,
// score, highest speed and share of right answers, the newest at the top, named for a screen
// reader. User-interface thread only.
class CCallsignRunsView : public QWidget {
    Q_OBJECT

public:
    // At most this many runs are shown.
    static constexpr int kShownRuns = 20;
    // The first line of its captions in the language file "localVZ", after the dialog's.
    static constexpr int kFirstCaptionLine = 17;

    CCallsignRunsView(const std::vector<CallsignRunRecord>& runs, const QString& languageFile,
                      QWidget* parent = nullptr);

    QTableWidget* Table() const { return table; }
    QLabel* Heading() const { return heading; }

    // The built-in captions, in the order of the language file from kFirstCaptionLine on.
    static QStringList CzechCaptions();

private:
    QStringList captions;
    QLabel* heading = nullptr;
    QTableWidget* table = nullptr;
};
