#include "pages/security_code_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "pages/page_services.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

namespace {

constexpr char kInitialPin[] = "4711";

// clang-format off
constexpr lang::Tr3 kHeading{"PIN Code Setting", "PIN", "PIN"};
constexpr lang::Tr3 kStartUpBox{"Enable PIN Code on the Start Up", "Solicitar PIN na iniciação:",
                                "Habilitar PIN en la iniciación:"};
constexpr lang::Tr3 kPinLabel{"PIN Code:", "PIN:", "PIN:"};
constexpr lang::Tr3 kChangeBox{"Enable Change PIN Code", "Habilitar alterar PIN",
                               "Habilitar cambio de PIN"};
constexpr lang::Tr3 kOldPinLabel{"Old PIN Code:", "PIN atual:", "PIN actual:"};
constexpr lang::Tr3 kNewPinLabel{"New PIN Code:", "Novo PIN:", "Nuevo PIN:"};
constexpr lang::Tr3 kConfirmPinLabel{"Confirm PIN Code:", "Confirmar novo PIN:",
                                     "Confirmar nuevo PIN:"};
constexpr lang::Tr3 kLengthHint{"[4~8]characters", "[4 ~ 8] caracteres", "[4 ~ 8] caracteres"};
constexpr lang::Tr3 kConfirmButton{"Confirm", "Alterar", "Cambiar"};

// Two blanks after "El" in Spanish.
const FieldRule kPinCodeRules[] = {
    {field_tests::WrongLength,
     {"Error: The PIN Code must be between 4 and 8 characters!",
      "Erro: O código PIN deve ter entre 4 e 8 caracteres!",
      "Error: El  código PIN debe tener entre 4 y 8 caracteres!"}},
};
// The old and the new PIN alike.
const FieldRule kChangeRules[] = {
    // An empty PIN fails here too.
    {field_tests::BadCharacters,
     {"Error: Only numbers (0,1,2,...,9) are allowed in the PIN Code!",
      "Erro: Somente são permitidos números (0,1,2,...,9) no código PIN!",
      "Error: Sólo se permiten números (0,1,2,...,9) en el código PIN!"}},
    {field_tests::TooShort,
     {"Error: The PIN Code no less than 4 characters!",
      "Erro: O código PIN não pode ter menos de 4 caracteres!",
      "Error: El código PIN no puede tener menos de 4 caracteres!"}},
    {field_tests::TooLong,
     {"Error: The PIN Code no more than 8 characters!",
      "Erro: O código PIN não pode ter mais de 8 caracteres!",
      "Error: El código PIN no puede tener más de 8 caracteres!"}},
};
constexpr lang::Tr3 kNotConfirmed{"Error: Confirm PIN Code isn`t same as New PIN Code!",
                                  "Erro: Códigos PIN diferentes!", "Error: El PIN diferentes!"};
// clang-format on

} // namespace

CSecurityCodePage::CSecurityCodePage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::SecurityCode), parent)
{
    using Accepts = FieldValidator::Accepts;
    PageForm form(*this);
    form.AddHeading(kHeading);
    m_startUpBox = form.AddCheckBox(kStartUpBox);
    m_pin = form.AddField(kPinLabel, Accepts::Digits).field;
    m_pin->setText(QString::fromLatin1(kInitialPin));
    form.AddGap();
    m_changeBox = form.AddCheckBox(kChangeBox);
    auto longest = [](Slot slot) { return int(params::FormOf(slot).maxLength); };
    m_oldPin = form.AddField(kOldPinLabel, Accepts::Digits, longest(Slot::OldPin)).field;
    m_newPin =
        form.AddField(kNewPinLabel, Accepts::Digits, longest(Slot::NewPin), &kLengthHint).field;
    m_confirmPin =
        form.AddField(kConfirmPinLabel, Accepts::Digits, longest(Slot::ConfirmPin)).field;

    auto *buttonRow = new QWidget(this);
    auto *buttons = new QHBoxLayout(buttonRow);
    buttons->setContentsMargins(0, 4, 0, 0);
    m_confirm = NewButton(kConfirmButton);
    buttons->addWidget(m_confirm);
    buttons->addStretch(1);
    form.AddWide(buttonRow);
    form.Finish();
    connect(m_confirm, &QPushButton::clicked, this, [this] { ChangePin(); });
}

void CSecurityCodePage::OnInitPage()
{
    AddGate({m_startUpBox, {m_pin}, {}, false});
    AddGate({m_changeBox, {m_oldPin, m_newPin, m_confirmPin, m_confirm}, {}, false});
}

bool CSecurityCodePage::ValidatePage()
{
    // Checked whether or not the PIN is asked at start-up: a Transmit always
    // sends it.
    return CheckFields(*this,
                       {{m_pin, ValueOf(m_pin), params::FormOf(Slot::PinCode), kPinCodeRules}},
                       FailureOrder::PageThenMessage);
}

void CSecurityCodePage::SaveToStore()
{
    StoreFlag(Slot::PinStartUp, m_startUpBox->isChecked());
    ParameterStore &store = Store();
    store[Slot::PinCode] = ValueOf(m_pin);
    store.pinWriteMode = 1;
}

void CSecurityCodePage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::SecurityCode, lists);
}

void CSecurityCodePage::LoadFromStore()
{
    // The PIN text and the change fields keep what they hold.
    m_startUpBox->setChecked(Store().IsOn(Slot::PinStartUp));
    ApplyGates();
}

bool CSecurityCodePage::ChangePin()
{
    if (!m_changeBox->isChecked())
        return false;
    const std::string oldPin = ValueOf(m_oldPin);
    const std::string newPin = ValueOf(m_newPin);
    const std::string confirmPin = ValueOf(m_confirmPin);
    if (!CheckFields(*this, {{m_oldPin, oldPin, params::FormOf(Slot::OldPin), kChangeRules},
                             {m_newPin, newPin, params::FormOf(Slot::NewPin), kChangeRules}}))
        return false;
    if (newPin != confirmPin)
        return FailOnField(lang::QtText(kNotConfirmed), *m_confirmPin);

    StoreFlag(Slot::ChangePin, m_changeBox->isChecked());
    ParameterStore &store = Store();
    store.pinWriteMode = 2;
    store[Slot::OldPin] = oldPin;
    store[Slot::NewPin] = newPin;
    store[Slot::ConfirmPin] = confirmPin;
    return Host() && Host()->ChangePin();
}
