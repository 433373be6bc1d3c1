#include "ui/CCallsignRunsView.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/Tables.h"

CCallsignRunsView::CCallsignRunsView(const CStatistikaModel::TextTable& runs,
                                     const QString& headingText, const QString& tableName,
                                     QWidget* parent)
    : QWidget(parent) {
    heading = new QLabel(headingText, this);
    table = new QTableWidget(this);
    heading->setBuddy(table);
    table->setAccessibleName(tableName);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(heading);
    column->addWidget(table);
    table->verticalHeader()->setVisible(false);
    FillTable(*table, runs);
}
