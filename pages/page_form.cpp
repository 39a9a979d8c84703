#include "pages/page_form.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

enum Column { kIndent, kLabel, kField, kHint, kColumnCount };
constexpr int kIndentWidth = 22;
constexpr int kFieldWidth = 150;

} // namespace

PageForm::PageForm(CParameterPage &page) : m_page(page), m_grid(new QGridLayout(&page))
{
    m_grid->setContentsMargins(24, 18, 24, 12);
    m_grid->setHorizontalSpacing(10);
    m_grid->setVerticalSpacing(6);
    m_grid->setColumnMinimumWidth(kIndent, kIndentWidth);
    m_grid->setColumnStretch(kHint, 1);
}

QLabel *PageForm::AddHeading(const lang::Tr3 &text)
{
    QLabel *heading = m_page.NewLabel(text);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_grid->addWidget(heading, m_row++, kIndent, 1, kColumnCount);
    return heading;
}

QCheckBox *PageForm::AddCheckBox(const lang::Tr3 &text)
{
    QCheckBox *box = m_page.NewCheckBox(text);
    m_grid->addWidget(box, m_row++, kIndent, 1, kColumnCount);
    return box;
}

FieldRow PageForm::AddField(const lang::Tr3 &label, FieldValidator::Accepts accepts,
                            int maxLength, const lang::Tr3 *hint, CParameterPage::Echo echo)
{
    QLineEdit *field = m_page.NewField(accepts, maxLength, echo);
    FieldRow row = AddControl(label, field, hint);
    row.field = field;
    return row;
}

FieldRow PageForm::AddControl(const lang::Tr3 &label, QWidget *control, const lang::Tr3 *hint)
{
    FieldRow row;
    control->setFixedWidth(kFieldWidth);
    row.label = m_page.NewLabel(label, control);
    m_grid->addWidget(row.label, m_row, kLabel);
    m_grid->addWidget(control, m_row, kField);
    if (hint) {
        row.hint = m_page.NewLabel(*hint);
        m_grid->addWidget(row.hint, m_row, kHint);
    }
    ++m_row;
    return row;
}

void PageForm::AddWide(QWidget *widget, int stretch)
{
    m_grid->addWidget(widget, m_row, kIndent, 1, kColumnCount);
    if (stretch)
        m_grid->setRowStretch(m_row, stretch);
    ++m_row;
}

void PageForm::AddGap()
{
    m_grid->setRowMinimumHeight(m_row++, 10);
}

void PageForm::Finish()
{
    m_grid->setRowStretch(m_row, 1);
}
