#include "pages/csp_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

// clang-format off
constexpr lang::Tr3 kCallBackBox{"Enable CSP for Call Back", "Habilitar CSP para call back",
                                 "Habilitar CSP para call back"};
constexpr lang::Tr3 kAllCallsBox{"Enable CSP for All Calls", "Habilitar CSP para todas as chamadas",
                                 "Habilitar CSP para toda llamada originada"};
constexpr lang::Tr3 kNumberLabel{"CSP Number:", "CSP:", "CSP:"};
constexpr lang::Tr3 kNumberHint{"[11 ~ 99]", "[11 ~ 99]", "[11 ~ 99]"};

const FieldRule kNumberRules[] = {
    // An empty number fails here too.
    {field_tests::BadCharacters,
     {"Error: The CSP Number must be number!", "Erro: O CSP deve ser numérico!",
      "Error: El CSP debe ser numérico!"}},
    {field_tests::WrongLength,
     {"Error: The CSP Number must be 2 characteres!", "Erro: O CSP deve ter 2 caracteres!",
      "Error: El CSP debe tener 2 caracteres!"}},
    {field_tests::OutOfRange,
     {"Error: The CSP Number must be between 11 and 99!",
      "Erro: O CSP deve ser um número entre 11 e 99!",
      "Error: El CSP debe ser un número entre 11 y 99!"}},
};
// clang-format on

} // namespace

CCspPage::CCspPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Csp), parent)
{
    PageForm form(*this);
    m_callBack = form.AddCheckBox(kCallBackBox);
    m_allCalls = form.AddCheckBox(kAllCallsBox);
    // No length limit of its own: a loaded "011" stays whole for the rules.
    m_number = form.AddField(kNumberLabel, FieldValidator::Accepts::Digits, 0, &kNumberHint).field;
    form.Finish();
    connect(m_callBack, &QCheckBox::clicked, this,
            [this] { OnModeClicked(m_callBack, m_allCalls); });
    connect(m_allCalls, &QCheckBox::clicked, this,
            [this] { OnModeClicked(m_allCalls, m_callBack); });
    UpdateNumberField();
}

void CCspPage::OnModeClicked(QCheckBox *clicked, QCheckBox *other)
{
    other->setChecked(false);
    m_none = !clicked->isChecked();
    UpdateNumberField();
}

// The number can be edited whenever it is asked for: also after a load that
// left both boxes unchecked without the CSP being off, so that the number
// the check then demands can be typed.
void CCspPage::UpdateNumberField()
{
    m_number->setEnabled(!m_none);
}

bool CCspPage::ValidatePage()
{
    if (m_none)
        return true;
    return CheckFields(
        *this, {{m_number, ValueOf(m_number), params::FormOf(Slot::CspNumber), kNumberRules}});
}

void CCspPage::SaveToStore()
{
    StoreFlag(Slot::CspNone, m_none);
    StoreFlag(Slot::CspAllCalls, m_allCalls->isChecked());
    StoreFlag(Slot::CspCallBack, m_callBack->isChecked());
    Store()[Slot::CspNumber] = ValueOf(m_number);
}

void CCspPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::Csp, lists);
}

void CCspPage::LoadFromStore()
{
    const ParameterStore &store = Store();
    const std::string &number = store[Slot::CspNumber];
    const bool inRange = !params::OutOfRange(number, params::FormOf(Slot::CspNumber));
    ShowValue(m_number, inRange ? number : std::string());

    m_none = store.IsOn(Slot::CspNone);
    m_allCalls->setChecked(store.IsOn(Slot::CspAllCalls));
    m_callBack->setChecked(store.IsOn(Slot::CspCallBack));
    if (m_none) {
        m_allCalls->setChecked(false);
        m_callBack->setChecked(false);
    } else if (m_allCalls->isChecked()) {
        OnModeClicked(m_allCalls, m_callBack);
    } else if (m_callBack->isChecked()) {
        OnModeClicked(m_callBack, m_allCalls);
    }
    UpdateNumberField();
}
