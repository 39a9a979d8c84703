#include "pages/passwords_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "pages/page_services.h"
#include "params/parameter_store.h"
#include "params/password_rules.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

using params::Slot;

namespace {

// clang-format off
constexpr lang::Tr3 kSoftwareHeading{"Software Password", "Senha de software", "Software contraseña"};
constexpr lang::Tr3 kChangeBox{"Change Software Password", "Alterar senha de software",
                               "Cambiar la contraseña de software"};
constexpr lang::Tr3 kOldLabel{"&Old Password:", "Senha atual:", "Contraseña actual:"};
constexpr lang::Tr3 kNewLabel{"&New Password:", "Nova senha:", "Nueva contraseña:"};
constexpr lang::Tr3 kConfirmLabel{"&Confirm Password:", "Confirmar nova senha:",
                                  "Confirmar nueva contraseña:"};
constexpr lang::Tr3 kSoftwareHint{"[4 ~ 12] characters", "[4 ~ 12] caracteres", "[4 ~ 12] caracteres"};
constexpr lang::Tr3 kConfirmButton{"Confirm", "Alterar", "Cambiar"};
constexpr lang::Tr3 kGeneralLabel{"General Password", "Senha geral", "General contraseña"};
constexpr lang::Tr3 kGeneralHint{"6 characters", "6 caracteres", "6 caracteres"};

using namespace field_tests;

const FieldRule kGeneralRules[] = {
    {Empty,
     {"Please input the General Password.", "Por favor, insira a senha geral.",
      "Por favor introduzca la general contraseña."}},
    {TooLong,
     {"Error: The General Password no more than 6 characters!",
      "Erro: A senha geral não pode ter mais de 6 caracteres!",
      "Error: La general contraseña no puede tener más de 6 caracteres!"}},
};

// The software password change, rules 1 to 9 in their order over three
// fields; the last one compares with the password of the login.
const FieldRule kOldRules[] = {
    {Empty,
     {"Please input the Old Password.", "Por favor, insira a senha atual.",
      "Por favor introduzca la contraseña actual."}},
    {TooLong,
     {"Error: The Old Password no more than 12 characters!",
      "Erro: A senha atual não pode ter mais de 12 caracteres!",
      "Error: La contraseña actual no puede tener más de 12 caracteres!"}},
    {TooShort,
     {"Error: The Old Password no less than 4 characters!",
      "Erro: A senha atual não pode ter menos de 4 caracteres!",
      "Error: La contraseña actual no puede tener menos de 4 caracteres!"}},
};
const FieldRule kNewRules[] = {
    {Empty,
     {"Please input the New Password.", "Por favor, insira a nova senha.",
      "Por favor introduzca la nueva contraseña."}},
};
const FieldRule kConfirmRules[] = {
    {Empty,
     {"Please input the Confirm Password.", "Por favor, repita a nova senha.",
      "Por favor repita la nueva contraseña."}},
};
constexpr lang::Tr3 kDifferent{"Error: Confirm Password isn`t same as New Password!",
                               "Erro: Senhas diferentes!", "Error: Las contraseñas diferentes!"};
// Checked once the two new fields agree.
const FieldRule kNewPasswordRules[] = {
    {WrongLength, params::kNewPasswordLength},
    {[](std::string_view v, const params::ValueForm &) { return !params::IsSafePasswordText(v); },
     params::kNewPasswordCharacters},
};
constexpr lang::Tr3 kOldInvalid{"Error: Old Password invalid!", "Erro: Senha atual inválida!",
                                "Error: La contraseña actual no es válido!"};
// clang-format on

} // namespace

CPasswordsPage::CPasswordsPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Passwords), parent)
{
    using Accepts = FieldValidator::Accepts;
    constexpr Echo kHidden = Echo::Password;
    PageForm form(*this);
    form.AddHeading(kSoftwareHeading);
    m_changeBox = form.AddCheckBox(kChangeBox);
    m_old = form.AddField(kOldLabel, Accepts::Digits, 0, nullptr, kHidden).field;
    m_new = form.AddField(kNewLabel, Accepts::Digits, 0, &kSoftwareHint, kHidden).field;
    m_confirm = form.AddField(kConfirmLabel, Accepts::Digits, 0, nullptr, kHidden).field;
    m_confirmButton = NewButton(kConfirmButton);
    form.AddWide(m_confirmButton);
    form.Grid().setAlignment(m_confirmButton, Qt::AlignLeft);
    form.AddGap();
    form.AddGap();
    m_general = form.AddField(kGeneralLabel, Accepts::Digits, 0, &kGeneralHint, kHidden).field;
    form.Finish();
    connect(m_confirmButton, &QPushButton::clicked, this, [this] { ChangeSoftwarePassword(); });
}

void CPasswordsPage::OnInitPage()
{
    AddGate({m_changeBox, {m_old, m_new, m_confirm, m_confirmButton}, {m_general}});
}

bool CPasswordsPage::ValidatePage()
{
    // Save may write a file without a general password; the flag serves
    // that one pass.
    if (IPageServices *host = Host(); host && host->SaveToFileFlag()) {
        host->SetSaveToFileFlag(false);
        return true;
    }
    return CheckFields(*this, {{m_general, ValueOf(m_general),
                                params::FormOf(Slot::GeneralPassword), kGeneralRules}});
}

bool CPasswordsPage::ChangeSoftwarePassword()
{
    if (!m_changeBox->isChecked())
        return false;
    const std::string oldPassword = ValueOf(m_old);
    const std::string newPassword = ValueOf(m_new);
    const std::string confirm = ValueOf(m_confirm);
    const params::ValueForm &form = params::kSoftwarePasswordForm;
    if (!CheckFields(*this, {{m_old, oldPassword, form, kOldRules},
                             {m_new, newPassword, form, kNewRules},
                             {m_confirm, confirm, form, kConfirmRules}}))
        return false;
    if (newPassword != confirm)
        return FailOnField(lang::QtText(kDifferent), *m_new);
    if (!CheckFields(*this, {{m_new, newPassword, form, kNewPasswordRules}}))
        return false;
    IPageServices *host = Host();
    if (!host || !host->IsSoftwarePassword(oldPassword))
        return FailOnField(lang::QtText(kOldInvalid), *m_old);
    return host->ChangeSoftwarePassword(newPassword, confirm);
}

void CPasswordsPage::SaveToStore()
{
    Store()[Slot::GeneralPassword] = ValueOf(m_general);
}

void CPasswordsPage::LoadFromStore()
{
    ShowValue(m_general, Store()[Slot::GeneralPassword]);
    ApplyGates();
    if (m_changeBox->isChecked() && m_old->isVisible())
        m_old->setFocus(Qt::OtherFocusReason);
}
