#include "pages/prefix_page.h"

#include "pages/field_rules.h"
#include "pages/page_form.h"
#include "params/parameter_store.h"
#include "params/read_lists.h"

#include <QCheckBox>
#include <QLineEdit>
#include <array>

using params::Slot;

namespace {

constexpr char kSeparator = ';';

// clang-format off
constexpr lang::Tr3 kSwitch{" Enable Add Prefix", "Habilitar adicionar prefixo", "Habilitar prefijo"};
constexpr lang::Tr3 kPreNumberLabel{"Pre Number:", "Pré-número:", "Pre-número:"};
constexpr lang::Tr3 kPreNumberHint{"[0~9]", "[0~9]", "[0~9]"};
constexpr lang::Tr3 kPrefixLabel{"Prefix:", "Prefixo:", "Prefijo:"};
constexpr lang::Tr3 kPrefixHint{"[at most 16 characters]", "[no máximo 16 caracteres]",
                                "[máximo 16 caracteres]"};

// The prefix's digits rule names the pre-numbers too: the terminal's own
// wording, kept as it is.
constexpr lang::Tr3 kOnlyNumbers{
    "Error: Only numbers (0,1,2,...,9) are allowed in the Pre Number!",
    "Erro: Somente são permitidos números (0,1,2,...,9) no Pré-número!",
    "Error: Sólo se permiten números (0,1,2,...,9) en el Pre-número!"};
constexpr lang::Tr3 kTooManyPreNumbers{"Error: The Prefix no more than 10 characters!",
                                       "Erro: O prefixo não pode ter mais de 10 caracteres!",
                                       "Error: El prefijo no puede tener más de 10 caracteres!"};
constexpr lang::Tr3 kPrefixTooLong{"Error: The Prefix no more than 16 characters!",
                                   "Erro: O prefixo não pode ter mais de 16 caracteres!",
                                   "Error: El prefijo no puede tener más de 16 caracteres!"};
constexpr lang::Tr3 kDuplicate{"Error: Duplicate Pre Number found !", "Erro: Pré-números repetidos!",
                               "Error: Pre-números repetidos!"};
// clang-format on

bool HasRepeatedDigit(std::string_view value, const params::ValueForm &)
{
    std::array<int, 10> counts{};
    for (char c : value) {
        if (c >= '0' && c <= '9' && ++counts[size_t(c - '0')] > 1)
            return true;
    }
    return false;
}

// Both may be empty.
const FieldRule kPreNumberRules[] = {
    {field_tests::BadCharacters, kOnlyNumbers},
    {field_tests::TooLong, kTooManyPreNumbers},
};
const FieldRule kPrefixRules[] = {
    {field_tests::BadCharacters, kOnlyNumbers},
    {field_tests::TooLong, kPrefixTooLong},
};
const FieldRule kRepeatRule[] = {{HasRepeatedDigit, kDuplicate}};

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

CPrefixPage::CPrefixPage(QWidget *parent)
    : CParameterPage(params::PageTemplate(params::Page::Prefix), parent)
{
    using Accepts = FieldValidator::Accepts;
    PageForm form(*this);
    m_switch = form.AddCheckBox(kSwitch);
    // No length limit of their own: a longer loaded value stays whole for
    // the rules to name.
    m_preNumbers = form.AddField(kPreNumberLabel, Accepts::Digits, 0, &kPreNumberHint).field;
    m_prefix = form.AddField(kPrefixLabel, Accepts::Digits, 0, &kPrefixHint).field;
    form.Finish();
    connect(m_switch, &QCheckBox::clicked, this,
            [this] { EnablePrefixFields(m_switch->isChecked()); });
    connect(m_preNumbers, &QLineEdit::textChanged, this, &CPrefixPage::OnPreNumbersChanged);
}

void CPrefixPage::OnInitPage()
{
    EnablePrefixFields(m_switch->isChecked());
}

void CPrefixPage::EnablePrefixFields(bool enable)
{
    m_preNumbers->setEnabled(enable);
    m_prefix->setEnabled(enable);
}

// A digit typed at the end gets its separator at once ("1;2;3;"); the caret
// stays at the end, where the next digit goes.
void CPrefixPage::OnPreNumbersChanged(const QString &text)
{
    const qsizetype before = m_preNumberText.size();
    m_preNumberText = text;
    if (text.size() == before + 1 && IsDigit(text.back())) {
        m_preNumberText += QLatin1Char(kSeparator);
        m_preNumbers->setText(m_preNumberText); // comes back here with nothing to add
    }
    m_preNumbers->setCursorPosition(int(m_preNumberText.size()));
}

std::string CPrefixPage::PreNumberDigits() const
{
    std::string digits = ValueOf(m_preNumbers);
    std::erase(digits, kSeparator);
    return digits;
}

bool CPrefixPage::ValidatePage()
{
    if (!m_switch->isChecked())
        return true;
    const std::string digits = PreNumberDigits();
    const params::ValueForm &preNumbers = params::FormOf(Slot::PreNumbers);
    return CheckFields(*this,
                       {{m_preNumbers, digits, preNumbers, kPreNumberRules},
                        {m_prefix, ValueOf(m_prefix), params::FormOf(Slot::Prefix), kPrefixRules},
                        {m_preNumbers, digits, preNumbers, kRepeatRule}});
}

void CPrefixPage::SaveToStore()
{
    StoreFlag(Slot::AddPrefix, m_switch->isChecked());
    ParameterStore &store = Store();
    store[Slot::PreNumbers] = PreNumberDigits();
    store[Slot::Prefix] = ValueOf(m_prefix);
}

void CPrefixPage::AppendReadItems(ReadLists &lists)
{
    params::AppendPageReadItems(params::Page::Prefix, lists);
}

void CPrefixPage::LoadFromStore()
{
    const ParameterStore &store = Store();
    const bool on = store.IsOn(Slot::AddPrefix);
    m_switch->setChecked(on);
    // Each stored digit is shown with its separator: "123" as "1;2;3;".
    std::string shown;
    for (char c : store[Slot::PreNumbers]) {
        shown += c;
        shown += kSeparator;
    }
    m_preNumberText = codepage::ToQString(shown);
    ShowValue(m_preNumbers, shown);
    ShowValue(m_prefix, store[Slot::Prefix]);
    EnablePrefixFields(on);
}
