#include "widgets/report_ctrl.h"

#include "widgets/report_model.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

static_assert(CReportCtrl::kColumnNoFocus == ReportModel::kFormatNoFocus);
static_assert(CReportCtrl::kMaxCellText == ReportModel::kMaxCellText);

namespace {

constexpr char kDefaultEmptyText[] = "Empty";

// Keeps the cell focus off columns that never take it, whoever moves it (a
// click, the arrow keys, a page selecting a row through the item view): the
// focus goes to the nearest column of the same row that takes it.
class FocusSkippingSelection : public QItemSelectionModel
{
public:
    explicit FocusSkippingSelection(ReportModel *model, QObject *parent)
        : QItemSelectionModel(model, parent), m_model(model)
    {}

    void setCurrentIndex(const QModelIndex &index, SelectionFlags command) override
    {
        QItemSelectionModel::setCurrentIndex(FocusableCell(index), command);
    }

private:
    QModelIndex FocusableCell(const QModelIndex &index) const
    {
        if (!index.isValid() || m_model->TakesFocus(index.column()))
            return index;
        const int columns = m_model->columnCount();
        for (int distance = 1; distance < columns; ++distance) {
            for (int column : {index.column() + distance, index.column() - distance}) {
                if (m_model->TakesFocus(column))
                    return index.siblingAtColumn(column);
            }
        }
        return index; // no column takes the focus: keep the row current
    }

    ReportModel *m_model;
};

bool StartsTypedEdit(const QKeyEvent &event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    if (event.key() == Qt::Key_Backspace)
        return true;
    const QString text = event.text();
    return !text.isEmpty() && text.front().isPrint();
}

} // namespace

CReportCtrl::CReportCtrl(QWidget *parent)
    : QTableView(parent), m_model(new ReportModel(this)),
      m_delegate(new ReportEditDelegate([this](const QModelIndex &cell, const QString &text,
                                               EditEnd key) { EndEdit(cell, text, key); },
                                        this)),
      m_emptyText(QString::fromLatin1(kDefaultEmptyText))
{
    setModel(m_model);
    QItemSelectionModel *original = selectionModel();
    setSelectionModel(new FocusSkippingSelection(m_model, this));
    delete original;
    setItemDelegate(m_delegate);

    setSelectionBehavior(SelectRows);
    setSelectionMode(ExtendedSelection);
    // Editors are opened only by the list's own rules below.
    setEditTriggers(NoEditTriggers);
    // Tab moves on to the next control, never between cells.
    setTabKeyNavigation(false);
    // One wheel step scrolls the desktop's wheel-scroll lines as rows.
    setVerticalScrollMode(ScrollPerItem);
    setWordWrap(false);
    setShowGrid(false);
    verticalHeader()->hide();
    // Compact rows, as in a list rather than a spreadsheet; the editor fits.
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

CReportCtrl::~CReportCtrl()
{
    // The editor goes down with the viewport after this object is gone; its
    // last focus change must not reach EndEdit.
    m_delegate->Abandon();
}

void CReportCtrl::SetEditorValidator(ReportEditDelegate::ValidatorFactory factory)
{
    m_delegate->SetValidatorFactory(std::move(factory));
}

void CReportCtrl::ModifyStyle(unsigned remove, unsigned add)
{
    m_style = (m_style & ~remove) | add;
    setShowGrid(m_style & kStyleGridLines);
    viewport()->update();
}

int CReportCtrl::InsertColumn(int index, const QString &header, unsigned format, int width)
{
    const int at = m_model->InsertColumn(index, header, format);
    setColumnWidth(at, width);
    return at;
}

unsigned CReportCtrl::ColumnFormat(int column) const
{
    return m_model->Format(column);
}

void CReportCtrl::SetEmptyText(const QString &text)
{
    m_emptyText = text;
    viewport()->update();
}

int CReportCtrl::InsertRow(int row, const QString &firstText)
{
    return m_model->InsertRow(row, firstText);
}

bool CReportCtrl::SetCellText(int row, int column, const QString &text)
{
    return m_model->SetCellText(row, column, text);
}

QString CReportCtrl::CellText(int row, int column) const
{
    return m_model->CellText(row, column);
}

int CReportCtrl::RowCount() const
{
    return m_model->rowCount();
}

void CReportCtrl::DeleteAllRows()
{
    const int rows = m_model->rowCount();
    if (m_hooks.onRowDelete) {
        for (int row = 0; row < rows; ++row)
            m_hooks.onRowDelete(row);
    }
    m_model->RemoveAllRows();
}

void CReportCtrl::SelectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex cell = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    selectionModel()->select(cell, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(cell);
}

QLineEdit *CReportCtrl::InPlaceEditor() const
{
    return m_delegate->Editor();
}

void CReportCtrl::FinishEdit()
{
    m_delegate->EndEdit(EditEnd::Enter);
}

// ---- painting and input --------------------------------------------------------

void CReportCtrl::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (m_model->rowCount() > 0 || m_emptyText.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(viewport()->rect(), Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
}

void CReportCtrl::keyPressEvent(QKeyEvent *event)
{
    // Delete empties the current cell as an edit to "" would, so the page
    // hears of it and may refuse it.
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier &&
        state() != EditingState && (m_style & kStyleEditInPlace) && currentIndex().isValid() &&
        m_model->Editable(currentIndex().column())) {
        const QModelIndex cell = currentIndex();
        if (!m_hooks.onBeginEdit || m_hooks.onBeginEdit(cell.row(), cell.column()) == 0)
            EndEdit(cell, QString(), EditEnd::Enter);
        event->accept();
        return;
    }
    const bool startsEdit = event->key() == Qt::Key_F2 || StartsTypedEdit(*event);
    if (startsEdit && state() != EditingState &&
        BeginEdit(currentIndex(), event->key() == Qt::Key_F2 ? nullptr : event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void CReportCtrl::focusInEvent(QFocusEvent *event)
{
    // The click that brings the focus is a first click, even on the cell
    // that was current before.
    m_focusedByThisClick = event->reason() == Qt::MouseFocusReason;
    QTableView::focusInEvent(event);
}

void CReportCtrl::mousePressEvent(QMouseEvent *event)
{
    m_editOnRelease = QPersistentModelIndex();
    const bool hadFocus = hasFocus() && !std::exchange(m_focusedByThisClick, false);
    const QModelIndex cell = indexAt(event->position().toPoint());
    if (cell.isValid()) {
        if (m_hooks.onRowClick && m_hooks.onRowClick(cell.row(), cell.column()) != 0) {
            event->accept();
            return;
        }
        if (hadFocus && event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier &&
            cell == currentIndex())
            m_editOnRelease = cell;
    }
    QTableView::mousePressEvent(event);
}

void CReportCtrl::mouseReleaseEvent(QMouseEvent *event)
{
    const QPersistentModelIndex pending = std::exchange(m_editOnRelease, {});
    QTableView::mouseReleaseEvent(event);
    if (pending.isValid() && indexAt(event->position().toPoint()) == pending)
        BeginEdit(pending, nullptr);
}

// ---- the in-place edit -----------------------------------------------------------

bool CReportCtrl::BeginEdit(const QModelIndex &cell, QKeyEvent *typed)
{
    if (!(m_style & kStyleEditInPlace) || !cell.isValid() || !m_model->Editable(cell.column()))
        return false;
    if (m_hooks.onBeginEdit && m_hooks.onBeginEdit(cell.row(), cell.column()) != 0)
        return false;
    if (!QTableView::edit(cell, AllEditTriggers, nullptr))
        return false;
    // The typed key acts on the editor, replacing the selected text.
    if (QLineEdit *editor = InPlaceEditor(); editor && typed)
        QCoreApplication::sendEvent(editor, typed);
    return true;
}

void CReportCtrl::EndEdit(const QModelIndex &cell, const QString &text, EditEnd key)
{
    const int answer =
        m_hooks.onEndEdit ? m_hooks.onEndEdit(cell.row(), cell.column(), text, key) : 0;
    if (answer == 0 && key != EditEnd::Escape)
        m_model->SetCellText(cell.row(), cell.column(), text);
}
