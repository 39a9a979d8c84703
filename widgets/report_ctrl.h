#pragma once
// CReportCtrl: the list pages' multi-column list whose cells are edited in
// place. It is a QTableView, so a page can select and focus one of its rows
// like any item view, and screen readers see it as a table of cells.
//
// A page sets up its list once, e.g. the Forbids list (texts in the
// current language):
//
//     list->ModifyStyle(0, 0x10B1);
//     list->InsertColumn(0, positionHeader, 0x04044002, 50); // never takes the cell focus
//     list->InsertColumn(1, numberHeader, 0x00044002, 150);  // edited in place
//     list->SetEmptyText(emptyWord);                         // "Empty", "Vazio", "Vacío"
//     list->SetEditorValidator([](QLineEdit *editor) {       // optional
//         return FieldValidator::Attach(editor, FieldValidator::Accepts::CodePageNoControl);
//     });
//     list->setAccessibleName(listName);
//     for (int r = 0; r < 20; ++r)
//         list->InsertRow(r, QStringLiteral("%1").arg(811 + r, 4, 10, QLatin1Char('0')));
//
// and reads the second column back with CellText(r, 1). A failed rule
// selects and focuses a row through the item view (FailOnRow) or SelectRow.
//
// Editing (style bit kStyleEditInPlace): a second click on the cell that has
// the focus, F2, or a typed character (which replaces the whole text;
// Backspace empties it) opens the editor; Tab, Enter and Escape end it and
// give the focus back to the list, Escape keeping the old text; when the
// editor loses the focus otherwise, the text is kept as with Enter. Tab and
// Shift+Tab on the list move on to the next or previous control.

#include "widgets/report_edit_delegate.h"

#include <QPersistentModelIndex>
#include <QTableView>
#include <functional>

class ReportModel;

class CReportCtrl : public QTableView
{
    Q_OBJECT
public:
    // Style bits honoured; the others are kept in the style word only.
    static constexpr unsigned kStyleGridLines = 0x0001;
    static constexpr unsigned kStyleEditInPlace = 0x1000;
    // Column format bit: the column never takes the cell focus nor edits.
    static constexpr unsigned kColumnNoFocus = 0x04000000;
    static constexpr int kMaxCellText = 255;

    using EditEnd = ReportEditEnd;

    // What the parent may hear of. An unset hook answers 0.
    struct NotifyHooks
    {
        // A mouse click on a row; non-zero: the list does nothing more with it.
        std::function<int(int row, int column)> onRowClick = {};
        // Each row removed by DeleteAllRows.
        std::function<void(int row)> onRowDelete = {};
        // Before an editor is opened; non-zero: the parent took over, no editor.
        std::function<int(int row, int column)> onBeginEdit = {};
        // An edit ended with this text and key; non-zero: the text is dropped.
        std::function<int(int row, int column, const QString &text, EditEnd key)> onEndEdit = {};
    };

    explicit CReportCtrl(QWidget *parent = nullptr);
    ~CReportCtrl() override;

    void SetNotifyHooks(NotifyHooks hooks) { m_hooks = std::move(hooks); }
    // Gives every in-place editor, as it is made, its validator (owned by
    // the editor), e.g. FieldValidator::Attach from widgets/code_page.h.
    void SetEditorValidator(ReportEditDelegate::ValidatorFactory factory);

    void ModifyStyle(unsigned remove, unsigned add);
    unsigned Style() const { return m_style; }

    // Format words 0, 1 and 2 are stored with 0x4000 added. Returns the
    // column's index.
    int InsertColumn(int index, const QString &header, unsigned format, int width);
    unsigned ColumnFormat(int column) const;

    // Shown centred while the list has no rows; "Empty" until set.
    void SetEmptyText(const QString &text);
    QString EmptyText() const { return m_emptyText; }

    // Adds a row with the first cell's text and the others empty; returns
    // its index, -1 while the list has no columns.
    int InsertRow(int row, const QString &firstText);
    // Texts are cut to kMaxCellText characters. False for a cell that does
    // not exist.
    bool SetCellText(int row, int column, const QString &text);
    QString CellText(int row, int column) const;
    int RowCount() const;
    // Removes every row, telling onRowDelete of each.
    void DeleteAllRows();
    // Makes the row the one selected row and scrolls it into view.
    void SelectRow(int row);

    // The in-place editor while an edit is open, else null.
    QLineEdit *InPlaceEditor() const;
    // Ends an open in-place edit as Enter would: a page calls it before it
    // checks or stores the rows, so that the text being typed counts.
    void FinishEdit();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    bool BeginEdit(const QModelIndex &cell, QKeyEvent *typed);
    void EndEdit(const QModelIndex &cell, const QString &text, EditEnd key);

    ReportModel *m_model = nullptr;
    ReportEditDelegate *m_delegate = nullptr;
    NotifyHooks m_hooks;
    unsigned m_style = 0;
    QString m_emptyText;
    // A press on the cell that had the focus already edits it on release.
    QPersistentModelIndex m_editOnRelease;
    bool m_focusedByThisClick = false;
};
