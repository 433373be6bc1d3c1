#pragma once

#include <QStringList>
#include <vector>

#include "session/CStatistikaModel.h"

class QTableWidget;

// Fills a read-only table of text: its column headers, one row of cells for each entry of
// `rows`, the columns as wide as their contents. Tab leaves the table for the next control; the
// arrow keys move between its cells. User-interface thread.
void FillTable(QTableWidget& table, const QStringList& headers,
               const std::vector<QStringList>& rows);
void FillTable(QTableWidget& table, const CStatistikaModel::TextTable& text);
