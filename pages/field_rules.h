#pragma once
// A page's checks on its edit fields, written as data: each rule looks at
// one value, measured against the field's form in the parameter catalogue,
// and carries its message in the three languages. The rules run in the
// page's order; the first that fails is reported on its field through the
// page's first-failure report, and the rest are not looked at.
//
//     const FieldRule kNumberRules[] = {
//         {field_tests::BadCharacters, kMustBeNumber},
//         {field_tests::WrongLength, kMustBeTwo},
//     };
//     return CheckFields(*this, {{m_number, ValueOf(m_number),
//                                 params::FormOf(Slot::CspNumber), kNumberRules}});

#include "pages/parameter_page.h"
#include "params/catalogue.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

struct FieldRule
{
    // True when the value breaks the rule.
    bool (*fails)(std::string_view value, const params::ValueForm &form);
    lang::Tr3 message;
};

// The tests most rules are made of: the catalogue's, and the empty field.
namespace field_tests {
bool Empty(std::string_view value, const params::ValueForm &form);
using params::BadCharacters;
using params::OutOfRange;
using params::TooLong;
using params::TooShort;
using params::WrongLength;
} // namespace field_tests

// The rules that apply to one field's value, skipped while inactive (the
// field's gating box is unchecked).
struct FieldCheck
{
    QLineEdit *field;
    std::string value;
    params::ValueForm form;
    std::span<const FieldRule> rules;
    bool active = true;
};

// True when no rule fails; otherwise the first failure is reported in the
// given order and false is returned.
bool CheckFields(
    CParameterPage &page, std::initializer_list<FieldCheck> checks,
    CParameterPage::FailureOrder order = CParameterPage::FailureOrder::MessageThenPage);
