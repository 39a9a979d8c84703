#include "pages/volume_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QLineEdit>

using params::Slot;

namespace {

using namespace field_tests;

// clang-format off
constexpr lang::Tr3 kTxBox{" Change Tx Volume", "Volume de transmissão", "Transmisión"};
constexpr lang::Tr3 kRxBox{" Change Rx Volume", "Volume de recepção", "Recepción"};
constexpr lang::Tr3 kLevel{"Level:", "Nível:", "Nivel:"};
constexpr lang::Tr3 kTxHint{"[00 ~ 15]", "[00 ~ 15]", "[00 ~ 15]"};
constexpr lang::Tr3 kRxHint{"[0 ~ 7]", "[0 ~ 7]", "[0 ~ 7]"};

constexpr lang::Tr3 kTxRange{"Error: The TX level must be between 00 and 15!",
                             "Erro: O nível de volume de transmissão deve ser entre 00 e 15!",
                             "Error: El volumen de transmisión debe ser entre 00 y 15!"};
constexpr lang::Tr3 kRxRange{"Error: The RX level must be between 0 and 7!",
                             "Erro: O nível de volume de recepção deve ser entre 0 e 7!",
                             "Error: El volumen de recepción debe ser entre 0 y 7!"};

// The Portuguese requests end in two blanks. A loaded level with another
// character than a digit is out of range too (the field keeps what was
// loaded).
const FieldRule kTxRules[] = {
    {Empty,
     {"Please input the TX level.", "Por favor, insira o nível de volume de transmissão.  ",
      "Por favor introduzca el volumen de transmisión."}},
    {WrongLength,
     {"Error: The TX level must be 2 characteres!",
      "Erro: O Volume de transmissão deve ter 2 caracteres!",
      "Error: El volumen de transmisión debe tener 2 caracteres!"}},
    {BadCharacters, kTxRange},
    {OutOfRange, kTxRange},
};
const FieldRule kRxRules[] = {
    {Empty,
     {"Please input the RX level.", "Por favor, insira o nível de volume de recepção.  ",
      "Por favor introduzca el volumen de recepción."}},
    {WrongLength,
     {"Error: The RX level must be 1 character!", "Erro: O Volume de recepção deve ter 1 carácter!",
      "Error: El volumen de recepción debe tener 1 carácter!"}},
    {BadCharacters, kRxRange},
    {OutOfRange, kRxRange},
};
// clang-format on

} // namespace

CVolumePage::CVolumePage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Volume), parent)
{
    using Accepts = FieldValidator::Accepts;
    PageForm form(*this);
    // No length limits of their own: a longer loaded value stays whole for
    // the rules to name.
    m_txBox = form.AddCheckBox(kTxBox);
    m_tx = form.AddField(kLevel, Accepts::Digits, 0, &kTxHint).field;
    form.AddGap();
    m_rxBox = form.AddCheckBox(kRxBox);
    m_rx = form.AddField(kLevel, Accepts::Digits, 0, &kRxHint).field;
    form.Finish();
}

void CVolumePage::OnInitPage()
{
    AddGate({m_txBox, {m_tx}, {}});
    AddGate({m_rxBox, {m_rx}, {}});
}

bool CVolumePage::ValidatePage()
{
    return CheckFields(
        *this,
        {{m_tx, ValueOf(m_tx), params::FormOf(Slot::TxVolume), kTxRules, m_txBox->isChecked()},
         {m_rx, ValueOf(m_rx), params::FormOf(Slot::RxVolume), kRxRules, m_rxBox->isChecked()}},
        FailureOrder::PageThenMessage);
}

void CVolumePage::SaveToStore()
{
    ParameterStore &store = Store();
    store[Slot::RxVolume] = m_rxBox->isChecked() ? ValueOf(m_rx) : std::string();
    store[Slot::TxVolume] = m_txBox->isChecked() ? ValueOf(m_tx) : std::string();
}

void CVolumePage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::Volume, lists);
}

void CVolumePage::LoadFromStore()
{
    const ParameterStore &store = Store();
    ShowValue(m_rx, store[Slot::RxVolume]);
    ShowValue(m_tx, store[Slot::TxVolume]);
    m_rxBox->setChecked(!m_rx->text().isEmpty());
    m_txBox->setChecked(!m_tx->text().isEmpty());
    ApplyGates();
    // The focus follows the levels only while the page is on screen: a load
    // behind another page must not move the keyboard into a hidden field.
    for (QLineEdit *field : {m_tx, m_rx}) {
        if (field->isEnabled() && field->isVisible())
            field->setFocus(Qt::OtherFocusReason);
    }
}
