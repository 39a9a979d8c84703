#include "widgets/report_edit_delegate.h"

#include "widgets/report_model.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <utility>

ReportEditDelegate::ReportEditDelegate(EndHandler onEnd, QObject *parent)
    : QStyledItemDelegate(parent), m_onEnd(std::move(onEnd))
{}

QLineEdit *ReportEditDelegate::Editor() const
{
    // The list closes the editor by itself when its row goes away.
    return m_cell.isValid() ? m_editor.data() : nullptr;
}

QWidget *ReportEditDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                          const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setMaxLength(ReportModel::kMaxCellText);
    // The text stays where the cell shows it.
    editor->setAlignment(index.data(Qt::TextAlignmentRole).value<Qt::Alignment>());
    // A screen reader names the editor after its column.
    editor->setAccessibleName(
        index.model()->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString());
    // Before the text is filled in, so that the validator sees it arrive.
    if (m_makeValidator)
        editor->setValidator(m_makeValidator(editor));
    m_editor = editor;
    m_cell = index;
    return editor;
}

void ReportEditDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line)
        return;
    line->setText(index.data(Qt::EditRole).toString());
    line->selectAll();
}

void ReportEditDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                              const QModelIndex &) const
{
    editor->setGeometry(option.rect.adjusted(kInset, 0, -kInset, 0));
}

bool ReportEditDelegate::eventFilter(QObject *object, QEvent *event)
{
    if (object != m_editor)
        return QStyledItemDelegate::eventFilter(object, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            EndEdit(ReportEditEnd::Tab);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            EndEdit(ReportEditEnd::Enter);
            return true;
        case Qt::Key_Escape:
            EndEdit(ReportEditEnd::Escape);
            return true;
        default:
            return false;
        }
    case QEvent::ShortcutOverride:
        // Escape and Enter belong to the editor, not to a dialog around it.
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return true;
        default:
            return false;
        }
    case QEvent::FocusOut:
        if (FocusLeftTheEditor(*static_cast<QFocusEvent *>(event)))
            EndEdit(ReportEditEnd::Enter);
        return false;
    default:
        return false;
    }
}

bool ReportEditDelegate::FocusLeftTheEditor(const QFocusEvent &event) const
{
    // The editor's own context menu takes the focus for a moment only.
    if (event.reason() == Qt::PopupFocusReason || QApplication::activePopupWidget())
        return false;
    for (const QWidget *w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (w == m_editor)
            return false;
    }
    return true;
}

void ReportEditDelegate::Abandon()
{
    m_editor = nullptr;
    m_cell = QPersistentModelIndex();
}

void ReportEditDelegate::EndEdit(ReportEditEnd key)
{
    // Taken first: the handler may move the focus, which must not end the
    // same edit a second time.
    const QPointer<QLineEdit> editor = std::exchange(m_editor, nullptr);
    const QPersistentModelIndex cell = std::exchange(m_cell, {});
    if (!editor)
        return;
    if (cell.isValid() && m_onEnd)
        m_onEnd(cell, editor->text(), key);
    // The list returns the focus to itself when the editor had it.
    if (editor)
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
}
