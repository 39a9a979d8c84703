#pragma once
// What the tests of the two list pages share: filling and reading the
// numbers of a CReportCtrl, its selected rows, its header texts and what a
// screen reader reads of a row, and the blank records a terminal answers.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "params/read_lists.h"
#include "widgets/report_ctrl.h"

#include <QAccessibleTableInterface>
#include <QHeaderView>

// Row r's number becomes numbers[r]; the rows after them are emptied.
inline void SetNumbers(CReportCtrl *list, const QStringList &numbers)
{
    for (int row = 0; row < list->RowCount(); ++row)
        list->SetCellText(row, 1, row < numbers.size() ? numbers[row] : QString());
}

inline QStringList Numbers(const CReportCtrl *list)
{
    QStringList numbers;
    for (int row = 0; row < list->RowCount(); ++row)
        numbers << list->CellText(row, 1);
    return numbers;
}

inline QList<int> SelectedRows(const CReportCtrl *list)
{
    QList<int> rows;
    for (const QModelIndex &index : list->selectionModel()->selectedRows())
        rows << index.row();
    return rows;
}

inline QString HeaderText(const CReportCtrl *list, int column)
{
    return list->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

// The row's cells as a screen reader reads them.
inline QStringList CellsReadAloud(CReportCtrl *list, int row)
{
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(list);
    QStringList cells;
    if (!table || !table->tableInterface())
        return {QStringLiteral("no table")};
    for (int column = 0; column < table->tableInterface()->columnCount(); ++column) {
        QAccessibleInterface *cell = table->tableInterface()->cellAt(row, column);
        cells << (cell ? cell->text(QAccessible::Name) : QStringLiteral("no cell"));
    }
    return cells;
}

// Texts a terminal answers for an unused list entry, and texts that are
// no blank record.
inline void BlankRecordRows()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("blank");
    for (const char *blank : {"0*0", "0*0*0", "0*0*0*0", "0.0", "0.0.0.0", "***", "10.0.0.1"})
        QTest::newRow(blank) << QString::fromLatin1(blank) << true;
    for (const char *number : {"0810", "0*", "00", "**", "0.1"})
        QTest::newRow(number) << QString::fromLatin1(number) << false;
}
