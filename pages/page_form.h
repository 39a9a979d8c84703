#pragma once
// The shapes the pages' forms are made of, written once: a switch on a line
// of its own, a labelled field with its hint (indented under the switch that
// gates it), a box with its own short field on one line, a heading, and
// anything full width (a list). Rows go down the page in the order they are
// added; the page stays free to wire its gates.
//
//     PageForm form(*this);
//     m_timeoutBox = form.AddCheckBox(texts::kTimeoutBox);
//     const FieldRow timeout = form.AddField(texts::kTimeoutLabel, Accepts::Digits, 0,
//                                            &texts::kTimeoutHint);
//     AddGate({m_timeoutBox, {timeout.field}});

#include "pages/parameter_page.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;

struct FieldRow
{
    QLabel *label = nullptr; // the field's buddy: it names the field
    QLineEdit *field = nullptr;
    QLabel *hint = nullptr;   // nullptr without a hint
    QCheckBox *box = nullptr; // the box on the field's line, if any
};

class PageForm
{
public:
    // The form's fields: each with its label, or each with a box of its own
    // before the label (a column of boxes then follows the indent).
    enum class Fields { Labelled, Boxed };

    // Lays the page out with a grid of its own.
    explicit PageForm(CParameterPage &page, Fields fields = Fields::Labelled);

    QLabel *AddHeading(const lang::Tr3 &text);
    QCheckBox *AddCheckBox(const lang::Tr3 &text);
    // A label, its field and a hint on one line, indented under a switch.
    FieldRow AddField(const lang::Tr3 &label, FieldValidator::Accepts accepts, int maxLength = 0,
                      const lang::Tr3 *hint = nullptr,
                      CParameterPage::Echo echo = CParameterPage::Echo::Normal);
    // The same with a control of the page's own (a combo box); the row's
    // field stays nullptr.
    FieldRow AddControl(const lang::Tr3 &label, QWidget *control, const lang::Tr3 *hint = nullptr);
    // A box indented under a switch, then a label, a short field and a hint,
    // all on one line (a Boxed form).
    FieldRow AddBoxedField(const lang::Tr3 &box, const lang::Tr3 &label,
                           FieldValidator::Accepts accepts, const lang::Tr3 &hint);
    // A control across the whole width (a list, a button row), or indented
    // under a switch.
    void AddWide(QWidget *widget, int stretch = 0, bool indented = false);
    // Space between groups of rows.
    void AddGap();
    // Whatever room is left goes below the last row.
    void Finish();

    QGridLayout &Grid() { return *m_grid; }

private:
    // The label, the control and the hint on the current line; the control
    // is named by its label in `group`.
    FieldRow PlaceField(const lang::Tr3 &label, QWidget *control, int width, const lang::Tr3 *hint,
                        const std::optional<lang::Tr3> &group);

    CParameterPage &m_page;
    QGridLayout *m_grid;
    int m_row = 0;
    // The box or heading the rows below stand under.
    std::optional<lang::Tr3> m_group;
    // The columns: the indent, the boxes of a Boxed form, then these.
    int m_labelColumn;
    int m_columnCount;
};
