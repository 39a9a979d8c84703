#include "widgets/control_state.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace {

void AppendModel(QString &state, const QAbstractItemModel &model)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column)
            state += model.index(row, column).data(Qt::EditRole).toString() + QChar(0x1f);
    }
}

} // namespace

QString ControlStateFingerprint(const QWidget &root)
{
    QString state;
    // Children come in the order of creation, which does not change.
    for (const QWidget *widget : root.findChildren<QWidget *>()) {
        if (const auto *line = qobject_cast<const QLineEdit *>(widget)) {
            state += line->text();
        } else if (const auto *spin = qobject_cast<const QAbstractSpinBox *>(widget)) {
            state += spin->text();
        } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            state += combo->currentText();
        } else if (const auto *button = qobject_cast<const QAbstractButton *>(widget)) {
            if (button->isCheckable())
                state += button->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        } else if (const auto *text = qobject_cast<const QPlainTextEdit *>(widget)) {
            state += text->toPlainText();
        } else if (const auto *rich = qobject_cast<const QTextEdit *>(widget)) {
            state += rich->toPlainText();
        } else if (const auto *view = qobject_cast<const QAbstractItemView *>(widget)) {
            if (view->model())
                AppendModel(state, *view->model());
        }
        state += QChar(0x1e);
    }
    return state;
}
