#pragma once
// A page that is one switch: a check box stored in one slot in the flag
// form the slot takes. It checks nothing. The Restricted ID and Polarity
// Inversion pages are two of these, differing in box and slot.

#include "pages/parameter_page.h"
#include "params/catalogue.h"

class QCheckBox;

class SwitchPage : public CParameterPage
{
    Q_OBJECT
public:
    struct Switch
    {
        params::Page page;
        lang::Tr3 box;
        params::Slot slot;
    };

    SwitchPage(const Switch &description, QWidget *parent);

    bool ValidatePage() override { return true; }
    void SaveToStore() override;
    void AppendReadItems(ReadLists &lists) override;
    void LoadFromStore() override;

    QCheckBox *SwitchBox() const { return m_box; }

private:
    const Switch m_switch;
    QCheckBox *m_box;
};
