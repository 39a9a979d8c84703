#pragma once
// Pages driven by scripts: each page's controls found by their accessible
// names, one letter per control; actions on them by letter, and what the
// page shows through the same letters. And what the tests of the list
// pages share: the numbers, selected rows, header texts and cells read
// aloud of a CReportCtrl, and the blank records a terminal answers.

#include "page_test_support.h"
#include "pages/page_factory.h"
#include "params/catalogue.h"
#include "params/read_lists.h"
#include "widgets/report_ctrl.h"

#include <QAccessibleTableInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>

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

// The pages' names in the golden files, in the order of params::Page.
inline const char *const kPageNames[params::kPageCount] = {
    "Passwords",     "Forbids",  "Prefix", "CSP",    "Forward",  "Restricted ID",
    "Security code", "Polarity", "Times",  "Volume", "Call back"};

// Each page's controls as "X=accessible name|...": one letter per control.
inline const char *ControlsOf(params::Page page)
{
    switch (page) {
    case params::Page::Passwords:
        return "C=Change Software Password|o=Old Password:|n=New Password:|c=Confirm Password:|"
               "K=Confirm|G=General Password";
    case params::Page::Forbids:
        return "D=Enable Long Distance Call Block|I=Enable International Call Block|"
               "N=Enable Incoming Call Block|L=Enable Prefixes and Numbers Block|l=Prefix/Number";
    case params::Page::Prefix:
        return "S=Enable Add Prefix|N=Pre Number:|P=Prefix:";
    case params::Page::Csp:
        return "B=Enable CSP for Call Back|A=Enable CSP for All Calls|#=CSP Number:";
    case params::Page::Forward:
        return "M=Enable Call Waiting and Forward|W=Call Waiting|U=Forward Unconditional|"
               "B=Forward When Busy|N=Forward When No Answer|"
               "O=Forward When Turned Off or Not Found|t=Time:|#=Forward Number:";
    case params::Page::SecurityCode:
        return "S=Enable PIN Code on the Start Up|P=PIN Code:|C=Enable Change PIN Code|"
               "o=Old PIN Code:|n=New PIN Code:|c=Confirm PIN Code:|K=Confirm";
    case params::Page::Times:
        return "T=Enable Timeout|t=Timeout:|C=Change Date and Time|d=Date:|"
               "h=Change Date and Time, Time:|O=Restrict Outgoing Time|"
               "o=Restrict Outgoing Time, Time:|I=Restrict Incoming Time|"
               "i=Restrict Incoming Time, Time:|F=Change Flash Time|f=Change Flash Time, Time:";
    case params::Page::Volume:
        return "T=Change Tx Volume|t=Change Tx Volume, Level:|R=Change Rx Volume|"
               "r=Change Rx Volume, Level:";
    case params::Page::CallBack:
        return "S=Enable Call Back|T=Call Back Time|t=Call Back Time, Time:|A=Call Back Num Count|"
               "a=Counter:|R=Time to Answer Call Back|r=Time to Answer Call Back, Time:|"
               "L=Call Back Number List|l=Call Back Number";
    case params::Page::RestrictedId:
        return "S=Enable Restricted ID";
    default:
        return "S=Enable Polarity Inversion";
    }
}

using Controls = QList<std::pair<QChar, QWidget *>>;

inline Controls Find(QWidget *page, params::Page kind)
{
    Controls controls;
    for (const QString &entry : QString::fromLatin1(ControlsOf(kind)).split('|')) {
        for (QWidget *widget : page->findChildren<QWidget *>()) {
            if ((qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget) ||
                 qobject_cast<QComboBox *>(widget) || qobject_cast<CReportCtrl *>(widget)) &&
                AccessibleName(widget) == entry.mid(2)) {
                controls.append({entry.at(0), widget});
                break;
            }
        }
    }
    return controls;
}

inline QWidget *Control(const Controls &controls, QChar letter)
{
    for (const auto &[name, widget] : controls) {
        if (name == letter)
            return widget;
    }
    return nullptr;
}

// What the page shows: each control's letter, "+" when checked, "=text"
// for an edit's text or a list's row count, in brackets while disabled;
// then "@X" for the control with the focus. A choice shows "=text".
inline QString Shown(const Controls &controls)
{
    QStringList shown;
    QString focus;
    for (const auto &[letter, widget] : controls) {
        QString text = letter;
        if (const auto *box = qobject_cast<QAbstractButton *>(widget); box && box->isChecked())
            text += '+';
        if (const auto *field = qobject_cast<QLineEdit *>(widget);
            field && !field->text().isEmpty())
            text += '=' + field->text();
        if (const auto *list = qobject_cast<CReportCtrl *>(widget); list && list->RowCount() > 0)
            text += '=' + QString::number(list->RowCount());
        if (const auto *choice = qobject_cast<QComboBox *>(widget))
            text += '=' + choice->currentText();
        shown << (widget->isEnabled() ? text : '(' + text + ')');
        if (widget->hasFocus())
            focus = QStringLiteral(" @") + letter;
    }
    return shown.join(' ') + focus;
}

// Actions, separated by blanks ("~" in a text is a blank): "X" clicks
// control X, "X=text" sets its text, "X7=text" the number in row 7 of list
// X, "@X" gives X the focus.
inline void Act(const Controls &controls, const QString &script)
{
    for (const QString &action : script.split(' ', Qt::SkipEmptyParts)) {
        const bool focus = action.startsWith('@');
        QWidget *widget = Control(controls, action.at(focus ? 1 : 0));
        QVERIFY2(widget, qPrintable(action));
        const QString text = action.section('=', 1).replace('~', ' ');
        if (focus)
            widget->setFocus();
        else if (auto *list = qobject_cast<CReportCtrl *>(widget))
            list->SetCellText(action.section('=', 0, 0).mid(1).toInt(), 1, text);
        else if (auto *field = qobject_cast<QLineEdit *>(widget))
            field->setText(text);
        else
            qobject_cast<QAbstractButton *>(widget)->click();
    }
}

// A page made by the factory, shown active, with its controls.
struct ScriptedPage
{
    explicit ScriptedPage(params::Page kind)
        : page(CreateParameterPage(params::PageTemplate(kind))),
          shown(page && ShowActive(*page, host)), controls(Find(page.get(), kind))
    {}
    TestPageHost host;
    BoxRecorder recorder{host};
    std::unique_ptr<CParameterPage> page;
    bool shown;
    Controls controls;
};
