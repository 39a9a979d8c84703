#include "widgets/accessible_names.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

class LabelledComboBox : public QAccessibleWidget
{
public:
    // No controlling signal: nothing here acts on a combo box's activated().
    explicit LabelledComboBox(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    // The name is the widget's (its accessible name, else its label's text).
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return Combo()->currentText();
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Combo()->view()->isVisible();
        return state;
    }
    // The list of entries, where the one shown is selected, and the field
    // of an editable one, which has the focus while the combo box has it.
    int childCount() const override { return Combo()->lineEdit() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        QObject *part = index == 0   ? static_cast<QObject *>(Combo()->view())
                        : index == 1 ? Combo()->lineEdit()
                                     : nullptr;
        return part ? QAccessible::queryAccessibleInterface(part) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int index = 0; child && index < childCount(); ++index) {
            if (this->child(index)->object() == child->object())
                return index;
        }
        return -1;
    }
    QAccessibleInterface *focusChild() const override
    {
        return Combo()->lineEdit() ? child(1) : nullptr;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (action == showMenuAction())
            Combo()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox *Combo() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *ComboBoxByLabel(const QString &className, QObject *object)
{
    if (className != QLatin1String("QComboBox") || !object || !object->isWidgetType())
        return nullptr;
    return new LabelledComboBox(static_cast<QComboBox *>(object));
}

} // namespace

QString SpokenName(const QString &text)
{
    QString spoken;
    spoken.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // "&x" is x, "&&" is "&".
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        spoken += text[i];
    }
    return spoken.trimmed();
}

void NameComboBoxesByLabel()
{
    static const bool installed = [] {
        QAccessible::installFactory(ComboBoxByLabel);
        return true;
    }();
    (void)installed;
}
