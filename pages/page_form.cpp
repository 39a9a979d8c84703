#include "pages/page_form.h"

#include <QCheckBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// Column 0 is the indent; column 1 holds the boxes of a Boxed form, else
// the labels. Field and hint follow the label.
constexpr int kIndent = 0;
constexpr int kIndented = 1;
constexpr int kField = 1; // after the label
constexpr int kHint = 2;
constexpr int kIndentWidth = 22;
constexpr int kFieldWidth = 150;
constexpr int kShortFieldWidth = 60;

} // namespace

PageForm::PageForm(CParameterPage &page, Fields fields)
    : m_page(page), m_grid(new QGridLayout(&page)),
      m_labelColumn(fields == Fields::Boxed ? kIndented + 1 : kIndented),
      m_columnCount(m_labelColumn + kHint + 1)
{
    m_grid->setContentsMargins(24, 18, 24, 12);
    m_grid->setHorizontalSpacing(10);
    m_grid->setVerticalSpacing(6);
    m_grid->setColumnMinimumWidth(kIndent, kIndentWidth);
    m_grid->setColumnStretch(m_labelColumn + kHint, 1);
}

QLabel *PageForm::AddHeading(const lang::Tr3 &text)
{
    QLabel *heading = m_page.NewLabel(text);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    m_grid->addWidget(heading, m_row++, kIndent, 1, m_columnCount);
    m_group = text;
    return heading;
}

QCheckBox *PageForm::AddCheckBox(const lang::Tr3 &text)
{
    QCheckBox *box = m_page.NewCheckBox(text);
    m_grid->addWidget(box, m_row++, kIndent, 1, m_columnCount);
    m_group = text;
    return box;
}

FieldRow PageForm::AddField(const lang::Tr3 &label, FieldValidator::Accepts accepts, int maxLength,
                            const lang::Tr3 *hint, CParameterPage::Echo echo)
{
    QLineEdit *field = m_page.NewField(accepts, maxLength, echo);
    FieldRow row = AddControl(label, field, hint);
    row.field = field;
    return row;
}

FieldRow PageForm::AddControl(const lang::Tr3 &label, QWidget *control, const lang::Tr3 *hint)
{
    FieldRow row = PlaceField(label, control, kFieldWidth, hint, m_group);
    ++m_row;
    return row;
}

FieldRow PageForm::AddBoxedField(const lang::Tr3 &box, const lang::Tr3 &label,
                                 FieldValidator::Accepts accepts, const lang::Tr3 &hint)
{
    QCheckBox *check = m_page.NewCheckBox(box);
    m_grid->addWidget(check, m_row, kIndented);
    QLineEdit *field = m_page.NewField(accepts);
    FieldRow row = PlaceField(label, field, kShortFieldWidth, &hint, box);
    row.box = check;
    row.field = field;
    ++m_row;
    return row;
}

FieldRow PageForm::PlaceField(const lang::Tr3 &label, QWidget *control, int width,
                              const lang::Tr3 *hint, const std::optional<lang::Tr3> &group)
{
    FieldRow row;
    control->setFixedWidth(width);
    row.label = m_page.NewLabel(label, control);
    m_page.NameField(control, label, group);
    m_grid->addWidget(row.label, m_row, m_labelColumn);
    m_grid->addWidget(control, m_row, m_labelColumn + kField);
    if (hint) {
        row.hint = m_page.NewLabel(*hint);
        m_grid->addWidget(row.hint, m_row, m_labelColumn + kHint);
    }
    return row;
}

void PageForm::AddWide(QWidget *widget, int stretch, bool indented)
{
    const int first = indented ? kIndented : kIndent;
    m_grid->addWidget(widget, m_row, first, 1, m_columnCount - first);
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
