#include "ui/Tables.h"

#include "ui/LanguageCaptions.h"

#include <QHeaderView>
#include <QTableWidget>

void FillTable(QTableWidget& table, const QStringList& headers,
               const std::vector<QStringList>& rows) {
    table.setTabKeyNavigation(false);
    table.setEditTriggers(QAbstractItemView::NoEditTriggers);
    table.setColumnCount(static_cast<int>(headers.size()));
    table.setHorizontalHeaderLabels(headers);
    table.setRowCount(static_cast<int>(rows.size()));
    for (std::size_t k = 0; k < rows.size(); ++k) {
        for (int c = 0; c < rows[k].size(); ++c) {
            table.setItem(static_cast<int>(k), c, new QTableWidgetItem(rows[k][c]));
        }
    }
    table.resizeColumnsToContents();
}

void FillTable(QTableWidget& table, const CStatistikaModel::TextTable& text) {
    std::vector<QStringList> rows;
    for (const std::vector<std::string>& cells : text.cells) {
        rows.push_back(Captions(cells));
    }
    FillTable(table, Captions(text.headers), rows);
}
