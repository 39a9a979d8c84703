#include "pages/switch_page.h"

#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>

CSwitchPage::CSwitchPage(const Switch &description, QWidget *parent)
    : CParameterPage(params::PageTemplate(description.page), parent), m_switch(description)
{
    PageForm form(*this);
    m_box = form.AddCheckBox(m_switch.box);
    form.Finish();
}

void CSwitchPage::SaveToStore()
{
    StoreFlag(m_switch.slot, m_box->isChecked());
}

void CSwitchPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(m_switch.page, lists);
}

void CSwitchPage::LoadFromStore()
{
    m_box->setChecked(Store().IsOn(m_switch.slot));
}
