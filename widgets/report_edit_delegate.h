#pragma once
// The in-place editor of CReportCtrl: a single-line edit over the cell,
// 2 px in from its left and right edges, filled with the cell's text, all
// of it selected. Tab, Enter and Escape end the edit at once; losing the
// focus ends it as Enter would. The delegate only reports how the edit
// ended; the list decides what is stored.

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>
#include <functional>

class QLineEdit;
class QValidator;

// The key that ended an in-place edit (Shift+Tab counts as Tab).
enum class ReportEditEnd { Enter, Tab, Escape };

class ReportEditDelegate : public QStyledItemDelegate
{
public:
    static constexpr int kInset = 2;

    using EndHandler =
        std::function<void(const QModelIndex &cell, const QString &text, ReportEditEnd key)>;

    explicit ReportEditDelegate(EndHandler onEnd, QObject *parent = nullptr);

    // Makes the validator of each new editor, owned by that editor.
    using ValidatorFactory = std::function<QValidator *(QLineEdit *editor)>;
    void SetValidatorFactory(ValidatorFactory factory) { m_makeValidator = std::move(factory); }
    // The open editor, or null.
    QLineEdit *Editor() const;
    // Ends the open edit, if any, as this key would.
    void EndEdit(ReportEditEnd key);
    // Forgets the open edit without ending it: the list is being destroyed,
    // and its editor with it.
    void Abandon();

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    // The list stores the text through the end handler instead.
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool FocusLeftTheEditor(const QFocusEvent &event) const;

    EndHandler m_onEnd;
    ValidatorFactory m_makeValidator;
    // The one edit in progress; Qt makes editors through a const function.
    mutable QPointer<QLineEdit> m_editor;
    mutable QPersistentModelIndex m_cell;
};
