#include "pages/switch_page.h"

#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>

SwitchPage::SwitchPage(const Switch &description, QWidget *parent)
    : CParameterPage(params::PageTemplate(description.page), parent), m_switch(description)
{
    PageForm form(*this);
    m_box = form.AddCheckBox(m_switch.box);
    form.Finish();
}

void SwitchPage::SaveToStore()
{
    StoreFlag(m_switch.slot, m_box->isChecked());
}

void SwitchPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(m_switch.page, lists);
}

void SwitchPage::LoadFromStore()
{
    m_box->setChecked(Store().IsOn(m_switch.slot));
}
